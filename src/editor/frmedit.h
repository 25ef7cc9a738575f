// The dictionary editor: the 16 words on the left, one of the 256 dictionary
// rows at a time in the frame on the right, each half with its own "Save
// Changes". It works on a copy in memory; the files change only on a save.
// Handlers, procedures and state keep the names the program has always used
// and are public, so that tests can drive them.
#pragma once

#include "editorlogic.h"
#include "quotefree.h"

#include <QDialog>
#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;

class frmEdit : public QDialog {
  Q_OBJECT

public:
  // Builds the window and loads both files, as every later opening does.
  explicit frmEdit(QWidget* parent = nullptr);
  ~frmEdit() override;

  // Editor state. The word list has no array of its own: it lives in the
  // txtCode and txtWord boxes.
  qint32 CurrentRow = 1;
  editor::DictColumn DictCode1, DictCode2, DictWords, DictMeaning;
  bool bWordsChanged = false;
  bool bDictChanged = false;

  // Opening and closing. Closing asks about unsaved changes and saves what
  // the user says to; false when such a save failed: the window then stays
  // open with the edits, rather than closing with them lost.
  void Form_Load();
  bool Form_Unload();

  void ShowRow();
  void SaveChanges();
  void SaveDict();

  // The program is being ended from outside (a signal, a logout) while the
  // editor is open: there may be nobody to answer the closing questions, so
  // unsaved edits are written beside their file, under the name
  // data::unsavedPath gives, which the next start names to the user. The
  // data files themselves are left as they are. Returns, for each set of
  // edits that could not be kept, a sentence that names its file and why;
  // those edits stay unsaved in the editor.
  QStringList keepUnsavedAside();

  // Closes the window as its Close buttons do, asking first; false when it
  // stays open (a save asked for failed, or the questions are already up).
  bool closeAsking();

  void cmdNext_Click();
  void cmdPrevious_Click();
  void cmdGoto_Click();
  void cmdClose_Click();
  void cmdClose2_Click();
  void cmdSaveWords_Click();
  void cmdSaveDictionary_Click();

  void txtCode_Change(int Index);
  void txtWord_Change(int Index);
  void Text1_Change();
  void Text2_Change();
  void Text3_Change();
  void Text4_Change();

public slots:
  // Every way of closing the window (the Close buttons, the close box) ends
  // here, so none of them skips the questions.
  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void buildDesign();
  void connectHandlers();
  editor::WordColumn wordCodes() const;
  editor::WordColumn wordTexts() const;
  void loadWords();
  void loadDictionary();
  void reloadWords();
  void reloadDictionary();
  // Saves records over one of the program's files, as long as it still
  // holds what the editor read; when another program has changed it since,
  // asks whether to overwrite it, reload it (reload) or save nothing. True
  // when saved; a failure is shown.
  bool saveUnlessChanged(const QString& name, const QList<QStringList>& records, QByteArray& fingerprint,
                         void (frmEdit::*reload)());

  // Controls, named as in the design.
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  std::array<QLabel*, editor::kWordRows> lblSN{};
  std::array<editor::QuoteFreeLineEdit*, editor::kWordRows> txtCode{};
  std::array<editor::QuoteFreeLineEdit*, editor::kWordRows> txtWord{};
  QPushButton* cmdSaveWords = nullptr;
  QPushButton* cmdClose = nullptr;
  QGroupBox* Frame = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  editor::QuoteFreeLineEdit* Text1 = nullptr;
  editor::QuoteFreeLineEdit* Text2 = nullptr;
  editor::QuoteFreeLineEdit* Text3 = nullptr;
  editor::QuoteFreeTextEdit* Text4 = nullptr;
  QPushButton* cmdPrevious = nullptr;
  QPushButton* cmdNext = nullptr;
  QPushButton* cmdGoto = nullptr;
  QPushButton* cmdSaveDictionary = nullptr;
  QPushButton* cmdClose2 = nullptr;

  // Set at opening for a file that was there but could not be read: its
  // rows opened empty, so saving them over it would wipe it.
  std::optional<platform::Error> wordsUnread, dictUnread;
  // What each file held when the editor last read or saved it.
  QByteArray wordsFingerprint, dictFingerprint;

  // A file refused at opening for its size, in words for the user; shown
  // once the window is up.
  QString openingWarning;
  bool loaded = false;   // the files are in; cleared when the window closes
  bool closing = false;  // the closing questions are on screen
};
