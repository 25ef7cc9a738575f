// The main window: the question, the bit grid, the kings, the word pairs and
// their meanings. Handlers and procedures keep the names the program has
// always used and are public, so that a test can call a handler whose
// control the design keeps disabled.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMessageBox;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTimer;
class QWidget;
class frmEdit;

namespace engine {
class Reading;
}
namespace platform {
class HtmlView;
}

class frmCombination : public QMainWindow {
  Q_OBJECT

public:
  explicit frmCombination(QWidget* parent = nullptr);
  ~frmCombination() override;

  // Form-level state.
  bool bStop = false;   // stop request of the enumeration
  qint32 nCurWord = 0;  // list word whose meaning is shown; below 1: all

  // Start-up, layout and the small handlers.
  void Form_Load();
  void Form_Resize();
  void Timer1_Timer();
  void txtQuestion_Change();
  void txtQuestion_GotFocus();
  void Text1_GotFocus();
  void Label2_Click();
  void cmdAbout_Click();
  void mnuAbout_Click();
  void cmdClose_Click();
  void mnuExit_Click();
  void cmdEditData_Click();
  void mnuEdit_Click();

  // The Tell Me run.
  void cmdcalc_Click();
  void mnuStart_Click();
  void cmdSave_Click();

  // The combination engine.
  void txtChar_Change();
  void txtlength_Change();
  void Engine(const QString& symbols, quint8 length);
  void check();

  // Words and meanings.
  QString GetWord(const QString& BinCode);
  void ShowMeanings(qint32 wordNo);
  void lstWords_Click();
  void chkInvert_Click();
  void chkListWords_Click();
  void chkInvertWords_Click();
  void chkShowAll_Click();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void buildDesign();
  void buildMenus();
  void connectHandlers();
  void setTabOrder();
  void dockBars();
  void fitClient();

  // Controls, named as in the design.
  // The client area below the menu bar, whose size the layout follows; it
  // scrolls the controls once the window is smaller than they need.
  QScrollArea* clientArea = nullptr;
  QWidget* client = nullptr;  // holds the controls, never smaller than the client area
  QWidget* Picture2 = nullptr;
  QWidget* Picture1 = nullptr;
  QLabel* lblQuestion = nullptr;
  QLineEdit* txtQuestion = nullptr;
  QLineEdit* Text1 = nullptr;
  QLabel* lblchar = nullptr;
  QLineEdit* txtChar = nullptr;
  QLabel* lbllength = nullptr;
  QLineEdit* txtlength = nullptr;
  QLabel* lblOutcomes = nullptr;
  QLabel* Label2 = nullptr;
  std::array<QLineEdit*, 4> txtFix{};  // left to right: indices 16, 0, 1, 2
  std::array<QLineEdit*, 16> txtSet{};
  QLineEdit* txtResults = nullptr;
  QPlainTextEdit* txtResult2 = nullptr;
  std::array<QLabel*, 4> lblWord{};
  QLabel* Label1 = nullptr;
  QCheckBox* chkInvert = nullptr;
  QCheckBox* chkListWords = nullptr;
  QCheckBox* chkInvertWords = nullptr;
  QCheckBox* chkShowAll = nullptr;
  QListWidget* lstWords = nullptr;
  QLineEdit* txtWord = nullptr;
  QPlainTextEdit* txtMeaning = nullptr;
  platform::HtmlView* txtMeanings = nullptr;
  QPushButton* cmdcalc = nullptr;
  QPushButton* cmdClose = nullptr;
  QPushButton* cmdAbout = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdEditData = nullptr;
  std::array<QFrame*, 5> Shape1{};
  QTimer* Timer1 = nullptr;

  QAction* mnuEdit = nullptr;
  QAction* mnuExit = nullptr;
  QAction* mnuStart = nullptr;
  QAction* mnuAbout = nullptr;

  frmEdit* editor = nullptr;  // created on first use
  bool selectAfterClick = false;
  bool listKeyPressed = false;

  // The Tell Me run (frmcombination_run.cpp).
  void startRun();
  void stopRun();
  void closingSteps();
  void meaningsStep();
  bool running = false;  // an enumeration is under way
  bool ending = false;   // the program is ending: a run stops where it is
  // Why the last enumeration was cut short, for the run to tell once it has
  // completed; empty when it was not.
  QString cutShort;

  // The meanings report (frmcombination_meanings.cpp).
  bool meaningsViewShown() const;
  void refreshMeanings();

  // The warning about data files that fall short (frmcombination_datafiles.cpp):
  // once when the window first shows, and once more for each run or report
  // whose lookups found a file gone or unreadable. The first also says why,
  // if so, the run reads the shipped files and writes nothing (startNotice).
  void warnAboutDataFiles(const QString& startNotice = QString());
  bool dataFilesChecked = false;
  bool dataFileTrouble = false;  // a lookup since the last warning found a file gone
  QPointer<QMessageBox> dataWarning;

  // The data files as the run, report or check under way reads them: each
  // file is opened at most once however many lookups it makes. There is
  // none between them, so that the next one sees the files as they are by
  // then, edits saved in between included. A ReadingScope makes the reading
  // where one begins, unless one is already under way, and ends it.
  std::unique_ptr<engine::Reading> reading;
  class ReadingScope {
  public:
    explicit ReadingScope(frmCombination* window);
    ~ReadingScope();
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

  private:
    frmCombination* m_window;
    bool m_owner;
  };

  // The total of the outcome label, built again only after the Symbols or
  // Length text has changed; null while it cannot be built.
  const QString* outcomeTotal();
  QString cachedTotal;
  bool cachedTotalValid = false;
  bool cachedTotalStale = true;
};
