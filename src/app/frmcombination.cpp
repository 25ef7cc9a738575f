// The main window's design, start-up and small handlers. The Tell Me run,
// the engine and the meanings live in their own files beside this one.
#include "frmcombination.h"

#include "engine/reading.h"

#include "platform/accessibility.h"
#include "platform/design.h"
#include "platform/focusring.h"
#include "platform/fonts.h"
#include "platform/htmlview.h"
#include "platform/resumenext.h"
#include "platform/windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace {

using platform::designFont;
using platform::kCourier;
using platform::kSans;
using platform::kTimes;
using platform::named;
using platform::placeTwips;
using platform::setBoxColours;
using platform::setColour;

constexpr int kClientWidth = 14010;
constexpr int kClientHeight = 8730;
constexpr int kTopBarHeight = 615;
constexpr int kBottomBarHeight = 1335;
constexpr int kMeaningsGap = 360;  // between the meanings area and the button bar
// Qt's own limit for a line edit. Nothing reads the question, and a paste of
// megabytes would otherwise be laid out again at every keystroke.
constexpr int kQuestionLimit = 32767;

const QColor kGrey(0x80, 0x80, 0x80);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kGreen(0x00, 0xC0, 0x00);

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QColor& text, const QFont& font) {
  auto* label = named(new QLabel(caption, parent), name);
  label->setFont(font);
  setColour(label, QPalette::WindowText, text);
  return label;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QString& text, const QFont& font) {
  auto* box = named(new QLineEdit(parent), name);
  box->setMaxLength(INT_MAX);  // the boxes that carry data have no length limit
  box->setFont(font);
  box->setText(text);
  box->setCursorPosition(0);
  return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QFont& font) {
  auto* button = named(new QPushButton(caption, parent), name);
  button->setFont(font);
  // No accessible name of its own: a screen reader then reads the caption,
  // which "Tell Me" changes to "Stop" during a run.
  return button;
}

}  // namespace

frmCombination::frmCombination(QWidget* parent) : QMainWindow(parent) {
  platform::installFontSubstitutions();
  buildDesign();
  buildMenus();
  connectHandlers();
  setTabOrder();
  platform::showFocusRing(this);
  resize(platform::twipsToPixels(kClientWidth),
         platform::twipsToPixels(kClientHeight) + menuBar()->sizeHint().height());
  txtQuestion->setFocus();
  Form_Load();
  Timer1->start();
}

frmCombination::~frmCombination() = default;

void frmCombination::buildDesign() {
  setObjectName("frmCombination");
  setWindowTitle("Lotwise");
  // The icons live in this library's resources, which a static library
  // leaves out of the program unless they are asked for by name.
  Q_INIT_RESOURCE(app);
  QIcon icon;
  icon.addFile(":/lotwise/lotwise-16.png", QSize(16, 16));
  icon.addFile(":/lotwise/lotwise-32.png", QSize(32, 32));
  setWindowIcon(icon);

  clientArea = named(new QScrollArea(this), "clientArea");
  clientArea->setFrameShape(QFrame::NoFrame);
  // The window sizes the controls' widget itself: the layout's rules follow
  // the client area, and the widget grows past it only where they need room.
  clientArea->setWidgetResizable(false);
  clientArea->setFocusPolicy(Qt::NoFocus);
  setCentralWidget(clientArea);
  clientArea->installEventFilter(this);
  clientArea->viewport()->installEventFilter(this);

  client = named(new QWidget, "client");
  client->setAutoFillBackground(true);
  setColour(client, QPalette::Window, Qt::black);
  clientArea->setWidget(client);
  client->installEventFilter(this);

  // The question bar, docked at the top.
  Picture2 = named(new QWidget(client), "Picture2");
  Picture2->setAutoFillBackground(true);
  setColour(Picture2, QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  Picture2->setFocusPolicy(Qt::TabFocus);
  Picture2->setAccessibleName("Question bar");

  lblQuestion = makeLabel(Picture2, "lblQuestion", "Enter Question:", kWhite, designFont(kTimes, 15.75));
  placeTwips(lblQuestion, 120, 90, 1980, 345);

  txtQuestion = makeBox(Picture2, "txtQuestion", QString(), designFont(kTimes, 14.25));
  txtQuestion->setMaxLength(kQuestionLimit);
  txtQuestion->setFrame(false);
  setBoxColours(txtQuestion, QColor(0xC0, 0xC0, 0xC0));
  txtQuestion->setAccessibleName("Enter Question:");
  lblQuestion->setBuddy(txtQuestion);  // read as the box's label
  placeTwips(txtQuestion, 2160, 120, 11655, 435);

  Text1 = makeBox(Picture2, "Text1", "You may type a question to be investigated here...", designFont(kTimes, 14.25));
  Text1->setReadOnly(true);
  Text1->setFrame(false);
  // A click gives it the focus, which it hands on; the tab order skips it.
  Text1->setFocusPolicy(Qt::ClickFocus);
  setBoxColours(Text1, QColor(0xC0, 0xC0, 0xC0));
  Text1->setAccessibleName("Question hint");
  placeTwips(Text1, 2880, 150, 8415, 370);

  // The button bar, docked at the bottom, with orange frames behind the
  // buttons.
  Picture1 = named(new QWidget(client), "Picture1");
  Picture1->setAutoFillBackground(true);
  setColour(Picture1, QPalette::Window, QColor(0x80, 0x80, 0xFF));
  Picture1->setFocusPolicy(Qt::TabFocus);
  Picture1->setAccessibleName("Button bar");

  const QFont buttonFont = designFont(kTimes, 12);
  cmdcalc = makeButton(Picture1, "cmdcalc", "Tell Me", designFont(kTimes, 14.25));
  cmdClose = makeButton(Picture1, "cmdClose", "Close Application", buttonFont);
  cmdSave = makeButton(Picture1, "cmdSave", "Save Results", designFont(kTimes, 14.25));
  cmdAbout = makeButton(Picture1, "cmdAbout", "About", buttonFont);
  cmdEditData = makeButton(Picture1, "cmdEditData", "Edit Dictionary", buttonFont);
  placeTwips(cmdcalc, 240, 240, 2055, 855);
  placeTwips(cmdClose, 2760, 240, 2175, 855);
  placeTwips(cmdSave, 2760, 240, 2175, 855);
  placeTwips(cmdAbout, 5400, 240, 2175, 855);
  placeTwips(cmdEditData, 5400, 240, 2175, 855);
  cmdSave->setEnabled(false);
  cmdEditData->setEnabled(false);
  // The disabled buttons lie beneath the ones that share their rectangle.
  cmdSave->lower();
  cmdEditData->lower();

  const std::array<QPushButton*, 5> framed{cmdcalc, cmdClose, cmdSave, cmdAbout, cmdEditData};
  for (int i = 0; i < 5; ++i) {
    // A border 8 pixels wide centred on the button's edge: half of it shows
    // around the button.
    auto* shape = named(new QFrame(Picture1), QString("Shape1_%1").arg(i));
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape->setLineWidth(8);
    setColour(shape, QPalette::WindowText, QColor(0xFF, 0x80, 0x00));
    shape->setGeometry(framed[i]->geometry().adjusted(-4, -4, 4, 4));
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    platform::markDecorative(shape);
    shape->lower();
    Shape1[i] = shape;
  }

  // The rest lies directly on the black window.
  const QFont green = designFont(kTimes, 14.25);
  lbllength = makeLabel(client, "lbllength", "Length:", kGreen, green);
  setColour(lbllength, QPalette::Window, Qt::black);
  placeTwips(lbllength, 8880, 480, 825, 315);
  lbllength->hide();

  txtlength = makeBox(client, "txtlength", "2", designFont(kTimes, 14.25));
  txtlength->setReadOnly(true);
  txtlength->setAlignment(Qt::AlignCenter);
  txtlength->setEnabled(false);
  txtlength->setAccessibleName("Length:");
  lbllength->setBuddy(txtlength);
  placeTwips(txtlength, 9840, 480, 735, 375);
  txtlength->hide();

  lblOutcomes = makeLabel(client, "lblOutcomes", "0 combinations", kGreen, green);
  lblOutcomes->setAlignment(Qt::AlignRight | Qt::AlignTop);
  placeTwips(lblOutcomes, 10800, 480, 2955, 315);
  lblOutcomes->hide();

  const std::array<int, 4> columnLeft{120, 1440, 2760, 4080};
  const std::array<int, 4> columnWidth{960, 960, 960, 840};
  const std::array<int, 4> fixIndex{16, 0, 1, 2};
  const std::array<const char*, 4> letters{"A", "B", "C", "D"};
  for (int c = 0; c < 4; ++c) {
    auto* header = makeBox(client, QString("txtFix_%1").arg(fixIndex[c]), letters[c], designFont(kTimes, 14.25));
    header->setReadOnly(true);
    header->setAlignment(Qt::AlignCenter);
    setBoxColours(header, QColor(0x80, 0xFF, 0x80));
    header->setAccessibleName(QString("Column %1").arg(letters[c]));
    placeTwips(header, columnLeft[c], 840, columnWidth[c], 435);
    txtFix[c] = header;
  }

  lblchar = makeLabel(client, "lblchar", "Symbols:", kGreen, green);
  placeTwips(lblchar, 5640, 840, 1050, 315);

  txtChar = makeBox(client, "txtChar", "ABraCaDabra", designFont(kTimes, 14.25));
  txtChar->setReadOnly(true);
  txtChar->setAlignment(Qt::AlignCenter);
  txtChar->setAccessibleName("Symbols:");
  lblchar->setBuddy(txtChar);
  placeTwips(txtChar, 6840, 840, 1935, 375);

  Label2 = makeLabel(client, "Label2", "get ALL 0s or 1s to make it happen...", kGreen, green);
  Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  placeTwips(Label2, 8880, 840, 4995, 315);
  Label2->installEventFilter(this);

  const std::array<int, 4> rowTop{1320, 1800, 2280, 2760};
  for (int i = 0; i < 16; ++i) {
    const int row = i / 4, column = i % 4;
    auto* cell = makeBox(client, QString("txtSet_%1").arg(i), row % 2 ? "1" : "0", designFont(kTimes, 14.25));
    cell->setReadOnly(true);
    cell->setAlignment(Qt::AlignCenter);
    if (row % 2)
      setBoxColours(cell, QColor(0xE0, 0xE0, 0xE0));
    cell->setAccessibleName(QString("Row %1 column %2").arg(row + 1).arg(letters[column]));
    placeTwips(cell, columnLeft[column], rowTop[row], columnWidth[column], 435);
    txtSet[i] = cell;
  }

  const QFont report = designFont(kCourier, 14.25, true);
  txtResults = makeBox(client, "txtResults", QString(), report);
  txtResults->setReadOnly(true);
  // The box is never shown but can hold megabytes of combinations; without
  // an echo its line control does not lay all of them out at every update.
  txtResults->setEchoMode(QLineEdit::NoEcho);
  platform::readAsPlainText(txtResults);
  txtResults->setAccessibleName("Results");
  setBoxColours(txtResults, Qt::white, QColor(0xC0, 0x00, 0x00));
  placeTwips(txtResults, 5640, 1200, 8175, 495);
  txtResults->hide();

  txtResult2 = named(new QPlainTextEdit(client), "txtResult2");
  txtResult2->setFont(report);
  txtResult2->setReadOnly(true);
  // A multi-line box with only a vertical scroll bar: long lines wrap at its
  // width, between words where they can, so all of the report is reached by
  // scrolling down. Only the display wraps; the text keeps its lines.
  txtResult2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txtResult2->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  txtResult2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtResult2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setBoxColours(txtResult2, Qt::white, QColor(0xC0, 0x00, 0x00));
  txtResult2->setAccessibleName("Bit report");
  placeTwips(txtResult2, 5640, 1320, 8175, 1935);

  for (int k = 0; k < 4; ++k) {
    auto* king =
        makeLabel(client, QString("lblWord_%1").arg(k), ".", QColor(0xFF, 0xFF, 0x00), designFont(kTimes, 14.25));
    placeTwips(king, columnLeft[k], 3240, 1095, 375);
    // A word from the word list is text: read as rich text, markup in it
    // would name files for the label to open, or nest without bound.
    king->setTextFormat(Qt::PlainText);
    // Read as "King A" with its word as the text: the caption alone would
    // not say which column the word belongs to.
    king->setAccessibleName(QString("King %1").arg(letters[k]));
    platform::readCaptionAsText(king);
    lblWord[k] = king;
  }

  Label1 = makeLabel(client, "Label1", "Click on the kings below to display their words", QColor(0x00, 0xFF, 0x00),
                     designFont(kTimes, 12, true));
  placeTwips(Label1, 120, 3840, 5055, 375);

  const QFont checkFont = designFont(kSans, 9.75);
  auto makeCheck = [&](const char* name, const char* caption, int left, int width, bool checked) {
    auto* box = named(new QCheckBox(caption, client), name);
    box->setFont(checkFont);
    box->setChecked(checked);
    box->setAutoFillBackground(true);
    box->setBackgroundRole(QPalette::Window);  // a button's own role would fill it light grey
    setColour(box, QPalette::Window, Qt::black);
    setColour(box, QPalette::WindowText, kWhite);
    placeTwips(box, left, 3720, width, 255);
    return box;
  };
  chkInvert = makeCheck("chkInvert", "Invert Pattern", 5640, 1575, true);
  chkListWords = makeCheck("chkListWords", "Use List Words", 7560, 2295, true);
  chkInvertWords = makeCheck("chkInvertWords", "Invert List Words", 9600, 1935, false);
  chkShowAll = makeCheck("chkShowAll", "Show All Meanings", 11640, 2175, false);
  chkListWords->hide();
  chkInvertWords->hide();
  chkShowAll->hide();

  lstWords = named(new QListWidget(client), "lstWords");
  lstWords->setFont(designFont(kTimes, 15.75));
  setBoxColours(lstWords, Qt::white);
  lstWords->setAccessibleName("Word pairs");
  placeTwips(lstWords, 120, 4200, 4815, 2820);

  txtWord = makeBox(client, "txtWord", QString(), designFont(kTimes, 15.75, true));
  txtWord->setReadOnly(true);
  setBoxColours(txtWord, QColor(0xFF, 0xFF, 0xC0));
  txtWord->setAccessibleName("Words");
  placeTwips(txtWord, 5640, 4200, 8175, 495);

  txtMeaning = named(new QPlainTextEdit(client), "txtMeaning");
  txtMeaning->setFont(designFont(kTimes, 15.75));
  txtMeaning->setReadOnly(true);
  txtMeaning->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtMeaning->setAccessibleName("Meaning");
  placeTwips(txtMeaning, 5640, 4740, 8175, 2295);

  // The meanings view covers the word and meaning boxes while it is shown.
  txtMeanings = named(new platform::HtmlView(client), "txtMeanings");
  txtMeanings->setAccessibleName("Meanings");
  placeTwips(txtMeanings, 5640, 4170, 6015, 2295);
  txtMeanings->hide();
  txtMeanings->raise();

  Timer1 = named(new QTimer(this), "Timer1");
  Timer1->setInterval(500);

  txtQuestion->installEventFilter(this);
  Text1->installEventFilter(this);
  Text1->raise();
}

void frmCombination::buildMenus() {
  auto addMenu = [&](const char* name, const char* caption) {
    QMenu* menu = named(menuBar()->addMenu(caption), name);
    menu->menuAction()->setObjectName(name);
    return menu;
  };
  auto addItem = [&](QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut) {
    QAction* action = named(menu->addAction(caption), name);
    action->setShortcut(shortcut);
    return action;
  };
  menuBar()->setObjectName("menuBar");

  QMenu* mnuFile = addMenu("mnuFile", "&File");
  mnuEdit = addItem(mnuFile, "mnuEdit", "Edit &Data...", QKeySequence(Qt::Key_F2));
  mnuEdit->setEnabled(false);
  mnuExit = addItem(mnuFile, "mnuExit", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* mnuRun = addMenu("mnuRun", "&Run");
  mnuStart = addItem(mnuRun, "mnuStart", "&Tell Me...", QKeySequence(Qt::Key_F5));

  QMenu* mnuHelp = addMenu("mnuHelp", "&Help");
  mnuAbout = addItem(mnuHelp, "mnuAbout", "&About...", QKeySequence(Qt::Key_F1));
}

void frmCombination::connectHandlers() {
  connect(Timer1, &QTimer::timeout, this, &frmCombination::Timer1_Timer);
  connect(txtQuestion, &QLineEdit::textChanged, this, &frmCombination::txtQuestion_Change);
  connect(txtChar, &QLineEdit::textChanged, this, &frmCombination::txtChar_Change);
  connect(txtlength, &QLineEdit::textChanged, this, &frmCombination::txtlength_Change);
  connect(cmdcalc, &QPushButton::clicked, this, &frmCombination::cmdcalc_Click);
  connect(cmdClose, &QPushButton::clicked, this, &frmCombination::cmdClose_Click);
  connect(cmdAbout, &QPushButton::clicked, this, &frmCombination::cmdAbout_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmCombination::cmdSave_Click);
  connect(cmdEditData, &QPushButton::clicked, this, &frmCombination::cmdEditData_Click);
  connect(mnuEdit, &QAction::triggered, this, &frmCombination::mnuEdit_Click);
  connect(mnuExit, &QAction::triggered, this, &frmCombination::mnuExit_Click);
  connect(mnuStart, &QAction::triggered, this, &frmCombination::mnuStart_Click);
  connect(mnuAbout, &QAction::triggered, this, &frmCombination::mnuAbout_Click);
  connect(lstWords, &QListWidget::itemClicked, this, &frmCombination::lstWords_Click);
  // Moving through the list with the keys picks an entry as a click does;
  // the list changing under the program's hands does not.
  connect(lstWords, &QListWidget::currentRowChanged, this, [this](int row) {
    if (listKeyPressed && row >= 0)
      lstWords_Click();
  });
  lstWords->installEventFilter(this);
  // An assistive tool's "Toggle" on a line selects it and leaves the current
  // line where it was; that choice picks the entry as a click does. A click
  // or a key makes the line current before selecting it, and is handled
  // above, once.
  connect(lstWords, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> chosen = lstWords->selectedItems();
    if (chosen.size() == 1 && chosen.front() != lstWords->currentItem()) {
      lstWords->setCurrentItem(chosen.front());
      lstWords_Click();
    }
  });
  connect(chkInvert, &QCheckBox::clicked, this, &frmCombination::chkInvert_Click);
  connect(chkListWords, &QCheckBox::clicked, this, &frmCombination::chkListWords_Click);
  connect(chkInvertWords, &QCheckBox::clicked, this, &frmCombination::chkInvertWords_Click);
  connect(chkShowAll, &QCheckBox::clicked, this, &frmCombination::chkShowAll_Click);
}

void frmCombination::setTabOrder() {
  QList<QWidget*> chain{txtQuestion, txtChar};
  for (QLineEdit* cell : txtSet)
    chain << cell;
  for (QLineEdit* header : txtFix)
    chain << header;
  chain << txtResult2 << lstWords << txtMeaning << Picture1 << cmdAbout << cmdcalc << txtWord << chkInvert << cmdClose
        << Picture2;
  for (qsizetype i = 0; i + 1 < chain.size(); ++i)
    QWidget::setTabOrder(chain[i], chain[i + 1]);
}

bool frmCombination::eventFilter(QObject* watched, QEvent* event) {
  if (watched == clientArea && event->type() == QEvent::Resize) {
    dockBars();  // the rules read the bar's height
    Form_Resize();
    fitClient();
  } else if (watched == clientArea->viewport() && event->type() == QEvent::Resize) {
    fitClient();
  } else if (watched == client && event->type() == QEvent::Resize) {
    dockBars();
  } else if (watched == txtQuestion) {
    if (event->type() == QEvent::FocusIn) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // The focus coming back with the window, after a message box, a menu,
      // the menu bar's keys or another program, is no new arrival: what the
      // user was typing stays.
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
        txtQuestion_GotFocus();
      // A click that gives the focus also places the caret; the whole text
      // is selected again once the click is over.
      selectAfterClick = reason == Qt::MouseFocusReason;
    } else if (event->type() == QEvent::MouseButtonRelease && selectAfterClick) {
      selectAfterClick = false;
      txtQuestion->setSelection(0, static_cast<int>(txtQuestion->text().size()));
    }
  } else if (watched == lstWords) {
    if (event->type() == QEvent::KeyPress)
      listKeyPressed = true;
    else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
      listKeyPressed = false;
  } else if (watched == Text1 && event->type() == QEvent::FocusIn) {
    Text1_GotFocus();
  } else if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
    if (Label2->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
      Label2_Click();
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmCombination::dockBars() {
  const int width = client->width();
  Picture2->setGeometry(0, 0, width, platform::twipsToPixels(kTopBarHeight));
  const int bottom = platform::twipsToPixels(kBottomBarHeight);
  Picture1->setGeometry(0, client->height() - bottom, width, bottom);
}

void frmCombination::fitClient() {
  // Room for every control where the layout left it, and the button bar
  // beneath them all: nothing paints over anything, whatever the window.
  int right = 0, bottom = 0;
  const QList<QWidget*> children = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (const QWidget* child : children) {
    if (child == Picture1 || child == Picture2) {
      const QList<QWidget*> inBars = child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      for (const QWidget* inBar : inBars)
        right = std::max(right, inBar->x() + inBar->width());
    } else {
      right = std::max(right, child->x() + child->width());
      bottom = std::max(bottom, child->y() + child->height());
    }
  }
  // The meanings area keeps its gap above the bar, as the layout gives it.
  bottom = std::max(bottom, txtMeanings->y() + txtMeanings->height() + platform::twipsToPixels(kMeaningsGap));
  const QSize needed(right, bottom + Picture1->height());
  const QSize size = needed.expandedTo(clientArea->viewport()->size());
  if (size != client->size())
    client->resize(size);
}

void frmCombination::Form_Load() { nCurWord = 1; }

void frmCombination::Timer1_Timer() {
  const QColor now = lblQuestion->palette().color(QPalette::WindowText);
  setColour(lblQuestion, QPalette::WindowText, now == kGrey ? kWhite : kGrey);
}

void frmCombination::txtQuestion_Change() { Text1->setVisible(txtQuestion->text().isEmpty()); }

void frmCombination::txtQuestion_GotFocus() {
  txtQuestion->setSelection(0, static_cast<int>(txtQuestion->text().size()));
  txtQuestion_Change();
}

void frmCombination::Text1_GotFocus() { txtQuestion->setFocus(Qt::OtherFocusReason); }

void frmCombination::Label2_Click() {
  txtQuestion->setFocus(Qt::OtherFocusReason);
  txtQuestion->setSelection(0, static_cast<int>(txtQuestion->text().size()));
}

void frmCombination::cmdAbout_Click() {
  const QStringList lines{
      "Lotwise - Hollow Oak Works",
      QString("Version %1.%2.%3").arg(LOTWISE_VERSION_MAJOR).arg(LOTWISE_VERSION_MINOR).arg(LOTWISE_VERSION_PATCH),
      "Written by the Lotwise developers",
      QString(),
      "Adapted from LTW, the earlier lot-casting program for Windows",
      QString(),
      "For more information write to lotwise@example.org",
  };
  platform::messageBox(this, lines.join("\r\n"), "Lotwise", platform::Icon::Information);
}

void frmCombination::mnuAbout_Click() { cmdAbout_Click(); }

void frmCombination::cmdClose_Click() { close(); }

void frmCombination::mnuExit_Click() {
  // A run under way must not go on with a window that is about to go.
  ending = true;
  bStop = true;
  QCoreApplication::exit(0);
}

void frmCombination::closeEvent(QCloseEvent* event) {
  if (running) {
    ending = true;
    bStop = true;
  }
  event->accept();
}
