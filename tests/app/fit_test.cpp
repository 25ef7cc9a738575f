// Nothing a user must read is cut off: every visible label, button, check
// box, line box and list of both windows shows its whole text, after a run on
// the shipped data files and for every word those files can put in a king or
// a list line. ctest runs this binary at scale 1 and again with
// QT_SCALE_FACTOR=2; widths are compared in device-independent pixels, the
// unit of the controls' geometry.
#include "app/frmcombination.h"
#include "data/records.h"
#include "editor/frmedit.h"
#include "engine/reading.h"
#include "data/datahome.h"
#include "platform/fonts.h"
#include "run/tellme.h"
#include "support/appdir.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <gtest/gtest.h>
#include <iostream>

namespace {

using lotwise::test::AppDir;

// Text that is meant to scroll inside its box: the bit report, the meaning
// boxes of both windows and the meanings view. Every other box with scroll
// bars must be a list, whose lines are measured.
const QStringList kScrollingBoxes = {"txtResult2", "txtMeaning", "txtMeanings", "Text4"};

// Two captions of the design run past their labels in the design's face by
// a part of their closing colon, whose ink ends about 1.5 px before its
// advance: "Enter Question:" by 0.3 px of advance (all of it drawn),
// "Symbols:" by 1.75 px (a faint edge of the colon, 0.3 px, is lost). The
// labels keep the design's geometry; a longer caption still fails.
const QMap<QString, qreal> kCaptionOverrun = {{"lblQuestion", 0.5}, {"lblchar", 2.0}};

// QLineEdit draws its text 2 pixels inside its contents on either side and
// scrolls it once text and cursor (1 pixel) no longer fit.
constexpr int kLineEditMargin = 2;
constexpr int kLineEditCursor = 1;

struct Fit {
  QString control;
  QString text;
  qreal width = 0;  // of the text, device-independent pixels
  int room = 0;     // for it in the control
  bool fits() const { return width <= room + kCaptionOverrun.value(control); }
};

std::ostream& operator<<(std::ostream& os, const Fit& fit) {
  return os << fit.control.toStdString() << " \"" << fit.text.toStdString()
            << "\": " << QString::number(fit.width, 'f', 1).toStdString() << " px of text in " << fit.room << " px";
}

qreal textWidth(const QFont& font, const QString& text, int flags = 0) {
  return QFontMetricsF(font).size(Qt::TextSingleLine | flags, text).width();
}

// What every check found, and the widest text of each control.
class Walk {
public:
  void label(QLabel* label) {
    if (label->text().isEmpty())
      return;
    // A frame gives the text an indent of half an "x" unless one is set.
    int indent = label->indent();
    if (indent < 0)
      indent = label->frameWidth() > 0 ? QFontMetrics(label->font()).horizontalAdvance(u'x') / 2 : 0;
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
      const QRectF needed = QFontMetricsF(label->font()).boundingRect(QRectF(room), Qt::TextWordWrap, label->text());
      add({label->objectName(), label->text(), needed.height(), room.height()});
      return;
    }
    add({label->objectName(), label->text(), textWidth(label->font(), label->text()), room.width() - indent});
  }

  void pushButton(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (button->autoDefault() || button->isDefault())
      option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    add({button->objectName(), button->text(), textWidth(button->font(), button->text(), Qt::TextShowMnemonic),
         room.width()});
  }

  void checkBox(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    add({box->objectName(), box->text(), textWidth(box->font(), box->text(), Qt::TextShowMnemonic), room.width()});
  }

  void lineEdit(QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    const int room = contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin - kLineEditCursor;
    if (!box->displayText().isEmpty())
      add({box->objectName(), box->displayText(), textWidth(box->font(), box->displayText()), room});
  }

  void list(QListWidget* list) {
    // A line has the viewport's width (a wider one brings in the horizontal
    // scroll bar); its text is drawn a focus frame's margin and one pixel
    // inside it, on either side.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (int i = 0; i < list->count(); ++i) {
      const QListWidgetItem* item = list->item(i);
      const QFont font = item->data(Qt::FontRole).isValid() ? item->font() : list->font();
      const int room = list->viewport()->width() - 2 * margin;
      add({QString("%1, line %2").arg(list->objectName()).arg(i + 1), item->text(), textWidth(font, item->text()),
           room});
    }
    if (list->horizontalScrollBar()->maximum() > 0)
      add({list->objectName(), "a horizontal scroll bar", qreal(list->horizontalScrollBar()->maximum()), 0});
  }

  void groupBox(QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    // The style sizes the caption's place to its text; it must lie inside.
    add({box->objectName(), box->title(), qreal(label.right() + 1), box->width()});
  }

  // Every visible control of a window that shows text.
  void window(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!w->isVisible())
        continue;
      if (auto* l = qobject_cast<QLabel*>(w))
        label(l);
      else if (auto* b = qobject_cast<QPushButton*>(w))
        pushButton(b);
      else if (auto* c = qobject_cast<QCheckBox*>(w))
        checkBox(c);
      else if (auto* e = qobject_cast<QLineEdit*>(w))
        lineEdit(e);
      else if (auto* g = qobject_cast<QGroupBox*>(w))
        groupBox(g);
      else if (auto* v = qobject_cast<QListWidget*>(w))
        list(v);
      else if (qobject_cast<QScrollArea*>(w))
        continue;  // holds controls, each measured on its own
      else if (qobject_cast<QAbstractScrollArea*>(w) && !kScrollingBoxes.contains(w->objectName()))
        unmeasured << w->objectName();
    }
  }

  QList<Fit> misfits;
  QMap<QString, Fit> widest;  // by control, the text that leaves it the least room
  QStringList unmeasured;

private:
  void add(const Fit& fit) {
    if (!fit.fits())
      misfits << fit;
    const QString key = fit.control.section(',', 0, 0);
    auto it = widest.find(key);
    if (it == widest.end() || fit.room - fit.width < it->room - it->width)
      widest.insert(key, fit);
  }
};

void expectAllFit(const Walk& walk) {
  for (const Fit& fit : walk.misfits)
    ADD_FAILURE() << "cut off: " << fit;
  EXPECT_TRUE(walk.unmeasured.isEmpty()) << "boxes with scroll bars that are neither lists nor named as scrolling: "
                                         << walk.unmeasured.join(", ").toStdString();
}

void report(const char* what, const Fit& fit) {
  std::cout << "   " << what << ": " << fit << " (scale " << qApp->devicePixelRatio() << ")\n";
}

void flush() {
  QApplication::sendPostedEvents();
  QApplication::processEvents();
}

class Fits : public ::testing::Test {
protected:
  void SetUp() override {
    QApplication::setStyle("Fusion");  // the program's own style
    for (const QString& name : {data::kWordsFile, data::kDictionaryFile})
      ASSERT_TRUE(QFile::copy(QStringLiteral(LOTWISE_DATA_DIR "/") + name, dir.file(name))) << name.toStdString();
  }

  // The 16 words, by code value, as the run looks them up.
  QStringList words() const {
    QStringList found;
    engine::Reading reading(data::appFile(data::kWordsFile), QString());
    for (int value = 0; value < 16; ++value)
      found << reading.word(QString::number(value, 2).rightJustified(4, u'0'), nullptr);
    return found;
  }

  AppDir dir;
};

// The walk finds a text too long for its control in every kind it
// measures, and nothing once the controls are wide enough.
TEST_F(Fits, WalkFindsTheTextThatDoesNotFit) {
  const QString text = "A caption far too long for its place";
  QWidget window;
  auto* list = new QListWidget(&window);
  list->addItem(text);
  auto* frame = new QGroupBox(text, &window);
  const QList<QWidget*> controls = {new QLabel(text, &window),
                                    new QPushButton(text, &window),
                                    new QCheckBox(text, &window),
                                    new QLineEdit(text, &window),
                                    list,
                                    frame};
  for (int i = 0; i < controls.size(); ++i)
    controls[i]->setObjectName(QString("control %1").arg(i));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  for (QWidget* control : controls)
    control->setGeometry(0, control->y(), 60, 60);
  flush();
  Walk narrow;
  narrow.window(&window);
  QSet<QString> found;
  for (const Fit& fit : narrow.misfits)
    found << fit.control.section(',', 0, 0);
  EXPECT_EQ(found.size(), controls.size()) << QStringList(found.values()).join(" / ").toStdString();

  for (QWidget* control : controls)
    control->setGeometry(0, control->y(), 600, 60);
  flush();
  Walk wide;
  wide.window(&window);
  expectAllFit(wide);
  EXPECT_EQ(wide.widest.size(), controls.size());
}

TEST_F(Fits, RunsAtTheScaleItWasStartedWith) {
  const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
  frmCombination window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_DOUBLE_EQ(window.devicePixelRatioF(), scale.isEmpty() ? 1.0 : scale.toDouble());
}

// Each design font gets the first metric-compatible face installed, in the
// order Liberation, Chrome OS, URW; on this machine one of them is there.
TEST_F(Fits, TheFirstMetricCompatibleFaceStandsIn) {
  platform::installFontSubstitutions();
  const QStringList installed = QFontDatabase::families();
  if (qEnvironmentVariable("FONTCONFIG_FILE").endsWith("without-liberation.conf")) {
    ASSERT_FALSE(installed.contains("Liberation Serif")) << "the private fontconfig did not hide Liberation";
  }
  const struct {
    const char* design;
    QStringList standIns;
  } fonts[] = {
      {platform::kTimes, {"Liberation Serif", "Tinos", "Nimbus Roman"}},
      {platform::kCourier, {"Liberation Mono", "Cousine", "Nimbus Mono PS"}},
      {platform::kSans, {"Liberation Sans", "Arimo", "Nimbus Sans"}},
  };
  for (const auto& font : fonts) {
    SCOPED_TRACE(font.design);
    if (installed.contains(font.design)) {
      EXPECT_EQ(QFontInfo(platform::designFont(font.design, 12)).family(), font.design);
      continue;
    }
    QString expected;
    for (const QString& standIn : font.standIns) {
      if (installed.contains(standIn)) {
        expected = standIn;
        break;
      }
    }
    ASSERT_FALSE(expected.isEmpty()) << "none of " << font.standIns.join(", ").toStdString() << " is installed";
    EXPECT_EQ(QFontInfo(platform::designFont(font.design, 12)).family(), expected);
  }
}

TEST_F(Fits, MainWindowAtStartAndAfterARun) {
  frmCombination window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  Walk start;
  start.window(&window);
  expectAllFit(start);

  window.cmdcalc_Click();
  flush();
  ASSERT_EQ(window.findChild<QListWidget*>("lstWords")->count(), 8);
  Walk after;
  after.window(&window);
  expectAllFit(after);
  // The walk reached the controls that show the words.
  for (const char* name : {"lblWord_0", "lblWord_1", "lblWord_2", "lblWord_3", "lstWords", "txtWord", "cmdcalc",
                           "chkInvert", "Label1", "txtChar"})
    EXPECT_TRUE(after.widest.contains(name)) << name;
}

TEST_F(Fits, EveryWordInEveryKingAndTheLongestListLine) {
  frmCombination window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.cmdcalc_Click();
  flush();

  const QStringList all = words();
  Walk kings;
  for (int k = 0; k < 4; ++k) {
    auto* king = window.findChild<QLabel*>(QString("lblWord_%1").arg(k));
    for (const QString& word : all) {
      EXPECT_FALSE(word.isEmpty());
      king->setText(word);
      kings.label(king);
    }
  }
  expectAllFit(kings);
  report("widest king", kings.widest.value("lblWord_0"));

  // The widest line any grid can give: every pair of words with every number.
  auto* list = window.findChild<QListWidget*>("lstWords");
  const auto width = static_cast<qint16>(window.findChild<QLineEdit*>("txtlength")->text().toShort());
  QString longest;
  for (int n = 1; n <= 8; ++n)
    for (const QString& first : all)
      for (const QString& second : all) {
        const QString line = run::listLine(n, width, first, second);
        if (textWidth(list->font(), line) > textWidth(list->font(), longest))
          longest = line;
      }
  for (int i = 0; i < list->count(); ++i)
    list->item(i)->setText(longest);
  flush();
  Walk lines;
  lines.list(list);
  expectAllFit(lines);
  report("widest list line", lines.widest.value("lstWords"));
}

TEST_F(Fits, EditorAtEveryDictionaryRow) {
  frmEdit editor;
  editor.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
  Walk walk;
  for (qint32 row = 1; row <= data::kDictionaryRows; ++row) {
    editor.CurrentRow = row;
    editor.ShowRow();
    walk.window(&editor);
  }
  expectAllFit(walk);
  EXPECT_EQ(editor.findChild<QGroupBox*>("Frame")->title(), "Dictionary : Row 256 of 256");
  for (const char* name : {"txtWord_0", "txtWord_15", "Text3", "Frame", "cmdSaveDictionary", "lblSN_15"})
    EXPECT_TRUE(walk.widest.contains(name)) << name;
  report("widest editor words", walk.widest.value("Text3"));
}

}  // namespace
