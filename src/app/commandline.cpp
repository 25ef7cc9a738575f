#include "commandline.h"

#include "app/display.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace app {

namespace {

// Qt's own options, which QApplication takes from the command line after
// this: known here so that they are not refused, and kept out of the usage.
struct QtOption {
  const char* name;
  bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true},
    {"session", true},       {"display", true},
    {"geometry", true},      {"title", true},
    {"icon", true},          {"name", true},
    {"visual", true},        {"ncols", true},
    {"style", true},         {"stylesheet", true},
    {"dialogs", true},       {"reverse", false},
    {"widgetcount", false},  {"cmap", false},
    {"nograb", false},       {"dograb", false},
    {"sync", false},         {"testability", false},
};

void print(FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fflush(stream);
}

QtMessageHandler previousHandler = nullptr;

void displayFailureHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    previousHandler(type, context, message);
    return;
  }
  // Qt's own words come just before, as warnings; this line says what to do.
  print(stderr, QStringLiteral("lotwise: %1\n").arg(noDisplayMessage()));
  std::_Exit(1);
}

}  // namespace

CommandLine readCommandLine(int argc, char* argv[]) {
  // A core application only: it needs no display, and goes before the
  // window's own starts.
  const QCoreApplication core(argc, argv);
  QCommandLineParser parser;
  // Qt's options take one dash and a whole word: -platform offscreen.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(
      QStringLiteral("Divination by random binary patterns.\n\n"
                     "In the window: F5 Tell Me, F1 About, Ctrl+Q Quit.\n"
                     "The manual page tells the rest: man lotwise"));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the program's version and exit."));
  parser.addOption(help);
  parser.addOption(version);
  for (const QtOption& qt : kQtOptions) {
    QCommandLineOption option(QString::fromLatin1(qt.name));
    if (qt.takesValue)
      option.setValueName(QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  QString error;
  if (!parser.parse(QCoreApplication::arguments()))
    error = parser.errorText();
  else if (!parser.positionalArguments().isEmpty())
    error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
  if (!error.isEmpty()) {
    print(stderr, QStringLiteral("lotwise: %1\n%2").arg(error, parser.helpText()));
    return {2};
  }
  if (parser.isSet(help)) {
    print(stdout, parser.helpText());
    return {0};
  }
  if (parser.isSet(version)) {
    print(stdout, QStringLiteral("Lotwise %1\n").arg(QStringLiteral(LOTWISE_VERSION)));
    return {0};
  }

  const bool platformChosen =
      parser.isSet(QStringLiteral("platform")) || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  const QString trouble = displayTrouble(platformChosen);
  if (!trouble.isEmpty()) {
    print(stderr, QStringLiteral("lotwise: %1\n").arg(trouble));
    return {1};
  }
  return {std::nullopt, parser.isSet(QStringLiteral("style"))};
}

void catchDisplayFailure() { previousHandler = qInstallMessageHandler(displayFailureHandler); }

void releaseDisplayFailure() { qInstallMessageHandler(previousHandler); }

}  // namespace app
