// The words of the results box as the meanings report splits them: the same
// as the field parser gives, cut only as far as the words wanted.
#include "app/frmcombination.h"
#include "app/resultwords.h"
#include "support/appdir.h"
#include "util/gwords.h"
#include "util/splitfields.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

QStringList bySplitFields(QString text) { return util::SplitFields(text.replace(' ', ','), ","); }

TEST(ResultWords, AsTheFieldParserGivesThemUpToTheWordsWanted) {
  QStringList texts = {"", "DA DC CB BA AD AB BC CD", " ", ",", "A", " A", "A ", "a,,b", "a , b", ",,  ,"};
  QRandomGenerator random(13);
  for (int i = 0; i < 300; ++i) {
    QString text;
    for (int n = random.bounded(12); n > 0; --n)
      text += QChar(u"AB ,"[random.bounded(4)]);
    texts << text;
  }
  for (const QString& text : texts) {
    const QStringList all = bySplitFields(text);
    const qint32 words = all.at(0).toInt();
    for (qint64 wanted : {qint64(-1), qint64(0), qint64(1), qint64(2), qint64(words), qint64(words) + 1,
                          std::numeric_limits<qint64>::max()}) {
      const qsizetype take = std::clamp<qint64>(wanted, 0, words);
      EXPECT_EQ(app::resultWords(text, wanted), all.mid(0, take + 1))
          << '"' << text.toStdString() << "\", wanted " << wanted;
    }
  }
}

TEST(ResultWords, VouchedCountHoldsOnlyForTheTextThatWasVouchedFor) {
  const QString listed = "AB BA AC";
  app::vouchSeparators(listed, 7);  // the count the enumeration would have kept
  EXPECT_EQ(app::resultWords(listed, 1), QStringList({"8", "AB"}));
  // The same characters in another buffer are counted afresh.
  const QString other(listed.constData(), listed.size());
  EXPECT_EQ(app::resultWords(other, 1), QStringList({"3", "AB"}));
  app::withdrawSeparators();
  EXPECT_EQ(app::resultWords(listed, 1), QStringList({"3", "AB"}));
}

TEST(ResultWords, RefreshDuringARunCountsEveryWordListedSoFar) {
  // Blanks and commas among the symbols and in the text the run appends to:
  // the count the enumeration keeps must be the count of the text.
  lotwise::test::AppDir dir;
  frmCombination window;
  auto* results = window.findChild<QLineEdit*>("txtResults");
  results->setText("x y,z");
  window.findChild<QLineEdit*>("txtChar")->setText("A ,B");
  window.findChild<QLineEdit*>("txtlength")->setText("12");
  QStringList seen, expected;
  // Refreshes once the run has listed a good number of words, however long
  // the set-up took (a sanitizer build takes far longer to get going).
  QTimer refresh;
  QObject::connect(&refresh, &QTimer::timeout, &refresh, [&] {
    if (results->text().size() < 2000)
      return;
    refresh.stop();
    window.ShowMeanings(1);
    seen = util::gWords;
    expected = bySplitFields(results->text()).mid(0, 2);
    window.bStop = true;
  });
  refresh.start(1);
  window.Engine("A ,B", 12);
  EXPECT_EQ(seen, expected);
  EXPECT_GT(expected.value(0).toLongLong(), 100);
}

}  // namespace
