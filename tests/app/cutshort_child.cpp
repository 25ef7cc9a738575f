// A Tell Me run far too large for the address space this process allows
// itself: it must end with its cut-short message and exit normally. Prints
// the message it showed, the results box and the count label, one a line.
// Run by cutshort_test.cpp; the argument is the headroom in megabytes above
// what the process uses once its window is up.
#include "app/frmcombination.h"
#include "platform/apppath.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

// The address space this process uses now, in bytes.
qint64 addressSpace() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly))
    return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmSize:"))
      return line.mid(7).trimmed().split(' ').first().toLongLong() * 1024;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const qint64 headroom = (argc > 1 ? QByteArray(argv[1]).toLongLong() : 256) << 20;

  QTemporaryDir dir;
  QFile words(dir.filePath("words.wdb")), dictionary(dir.filePath("dictionary.wdb"));
  if (!words.open(QIODevice::WriteOnly) || !dictionary.open(QIODevice::WriteOnly))
    return 2;
  words.write(lotwise::test::wordsFile());
  dictionary.write(lotwise::test::dictionaryFile());
  words.close();
  dictionary.close();
  platform::setAppPath(dir.path());

  frmCombination window;
  window.show();
  QCoreApplication::processEvents();
  QString symbols;
  for (int i = 0; i < 200; ++i)
    symbols += QChar(u'A' + i % 26);
  window.findChild<QLineEdit*>("txtChar")->setText(symbols);
  window.findChild<QLineEdit*>("txtlength")->setText("4");

  const qint64 used = addressSpace();
  if (used < 0)
    return 3;
  const rlimit limit{rlim_t(used + headroom), rlim_t(used + headroom)};
  if (setrlimit(RLIMIT_AS, &limit) != 0)
    return 4;

  // However long the run takes, its message is answered when it comes.
  QString message = "(no message)";
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      message = box->text();
      box->accept();
    }
  });
  answer.start(5);
  window.cmdcalc_Click();  // 1.6 billion combinations: the memory runs out first

  std::printf("%s\n%s\n%s\n", qPrintable(message), qPrintable(window.findChild<QLineEdit*>("txtResults")->text()),
              qPrintable(window.findChild<QLabel*>("lblOutcomes")->text()));
  return 0;
}
