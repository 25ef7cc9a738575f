// The editor's opening, row display, moves, saves and closing. The work is
// done by editorlogic; these members move values between it and the boxes.
#include "frmedit.h"

#include "data/records.h"
#include "platform/apppath.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/windows.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <optional>

namespace {

constexpr QLatin1StringView kTitle("Lotwise");

bool askToSave(QWidget* parent, const QString& question) {
  return platform::messageBox(parent, question, kTitle, platform::Icon::Question, platform::Buttons::YesNo) ==
         platform::Answer::Yes;
}

// Saves records to one of the program's files; the failure, if any, is shown
// and reported to the caller, whose changed flag then stays set.
bool saveRecords(QWidget* parent, const QString& name, const QList<QStringList>& records) {
  std::optional<platform::Error> failure;
  try {
    failure = data::saveFile(platform::appFile(name), records);
  } catch (const platform::Error& error) {
    failure = error;
  }
  if (failure)
    platform::showFailure(parent, *failure);
  return !failure;
}

// A file that was there but could not be read when the editor opened is
// never saved over: its rows here are empty, not its content. Says why and
// reports the refusal; the caller then writes nothing.
bool refusedAsUnread(QWidget* parent, const QString& name, const std::optional<platform::Error>& unread) {
  if (!unread)
    return false;
  const QString description =
      QStringLiteral(
          "%1 was not saved: it could not be read when the editor opened (%2), so saving would replace "
          "its content with empty rows. Close the editor and open it again once the file can be read.")
          .arg(QDir::toNativeSeparators(platform::appFile(name)), unread->description());
  platform::showFailure(parent, platform::Error(unread->number(), description));
  return true;
}

bool validRow(qint32 row) { return row >= 1 && row <= editor::kDictionaryRows; }

}  // namespace

frmEdit::frmEdit(QWidget* parent) : QDialog(parent) {
  platform::installFontSubstitutions();
  buildDesign();
  connectHandlers();
  Form_Load();
}

frmEdit::~frmEdit() = default;

void frmEdit::Form_Load() {
  loaded = true;
  for (int i = 0; i < editor::kWordRows; ++i)
    lblSN[i]->setText(QString::number(i + 1));

  const editor::WordList words = editor::readWordList(platform::appFile(data::kWordsFile));
  wordsUnread = words.unread;
  for (int k = 0; k < editor::kWordRows; ++k) {
    txtCode[k]->setText(words.codes[k]);
    txtWord[k]->setText(words.words[k]);
  }
  bWordsChanged = false;  // filling the boxes is not an edit

  const editor::Dictionary dictionary = editor::readDictionary(platform::appFile(data::kDictionaryFile));
  dictUnread = dictionary.unread;
  DictCode1 = dictionary.code1;
  DictCode2 = dictionary.code2;
  DictWords = dictionary.words;
  DictMeaning = dictionary.meaning;
  bDictChanged = false;
  CurrentRow = 1;
  ShowRow();
}

void frmEdit::Form_Unload() {
  if (bWordsChanged && askToSave(this, QStringLiteral("Do you want to save changes to Words?")))
    SaveChanges();
  if (bDictChanged && askToSave(this, QStringLiteral("Do you want to save changes to Dictionary?")))
    SaveDict();
}

void frmEdit::ShowRow() {
  if (!validRow(CurrentRow))
    return;
  const int i = CurrentRow - 1;
  // Each box's change event stores its text back into the row, as an edit
  // would; the flag that raises is cleared at the end.
  Text1->setText(DictCode1[i]);
  Text2->setText(DictCode2[i]);
  Text3->setText(editor::composeWords(wordTexts(), DictCode1[i], DictCode2[i]));
  // A box that already held the composed text raised no change event.
  DictWords[i] = Text3->text();
  Text4->setPlainText(DictMeaning[i]);
  Frame->setTitle(editor::frameCaption(CurrentRow));
  bDictChanged = false;
}

void frmEdit::SaveChanges() {
  if (refusedAsUnread(this, data::kWordsFile, wordsUnread))
    return;
  if (saveRecords(this, data::kWordsFile, editor::wordRecords(wordCodes(), wordTexts())))
    bWordsChanged = false;
}

void frmEdit::SaveDict() {
  if (refusedAsUnread(this, data::kDictionaryFile, dictUnread))
    return;
  if (saveRecords(this, data::kDictionaryFile, editor::dictionaryRecords(DictCode1, DictCode2, DictWords, DictMeaning)))
    bDictChanged = false;
}

void frmEdit::cmdNext_Click() {
  if (CurrentRow < editor::kDictionaryRows) {
    ++CurrentRow;
    ShowRow();
  }
}

void frmEdit::cmdPrevious_Click() {
  if (CurrentRow > 1) {
    --CurrentRow;
    ShowRow();
  }
}

void frmEdit::cmdGoto_Click() {
  const QString answer =
      platform::inputBox(this, QStringLiteral("Enter a row number from 1 to 256:"), QStringLiteral("Goto Row"));
  if (const std::optional<int> row = editor::gotoRow(answer)) {
    CurrentRow = *row;
    ShowRow();
  }
}

void frmEdit::cmdClose_Click() { reject(); }

void frmEdit::cmdClose2_Click() { reject(); }

void frmEdit::cmdSaveWords_Click() { SaveChanges(); }

void frmEdit::cmdSaveDictionary_Click() { SaveDict(); }

void frmEdit::txtCode_Change(int) { bWordsChanged = true; }

void frmEdit::txtWord_Change(int) { bWordsChanged = true; }

void frmEdit::Text1_Change() {
  if (validRow(CurrentRow))
    DictCode1[CurrentRow - 1] = Text1->text();
  bDictChanged = true;
}

void frmEdit::Text2_Change() {
  if (validRow(CurrentRow))
    DictCode2[CurrentRow - 1] = Text2->text();
  bDictChanged = true;
}

void frmEdit::Text3_Change() {
  if (validRow(CurrentRow))
    DictWords[CurrentRow - 1] = Text3->text();
  bDictChanged = true;
}

void frmEdit::Text4_Change() {
  // The box keeps paragraphs; the file keeps CR LF between the lines.
  if (validRow(CurrentRow))
    DictMeaning[CurrentRow - 1] = editor::withFileLineBreaks(Text4->document()->toRawText());
  bDictChanged = true;
}

void frmEdit::reject() {
  if (closing)
    return;
  closing = true;
  Form_Unload();
  closing = false;
  loaded = false;  // the next opening reads both files again
  QDialog::reject();
}

void frmEdit::showEvent(QShowEvent* event) {
  if (!loaded)
    Form_Load();
  QDialog::showEvent(event);
}

void frmEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      // The window has no cancel key; it closes by its buttons or close box.
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
        event->accept();
        return;
      }
      event->accept();  // Enter in a text box is not a button press
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

editor::WordColumn frmEdit::wordCodes() const {
  editor::WordColumn codes;
  for (int k = 0; k < editor::kWordRows; ++k)
    codes[k] = txtCode[k]->text();
  return codes;
}

editor::WordColumn frmEdit::wordTexts() const {
  editor::WordColumn words;
  for (int k = 0; k < editor::kWordRows; ++k)
    words[k] = txtWord[k]->text();
  return words;
}
