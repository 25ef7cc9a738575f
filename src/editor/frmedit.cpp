// The editor's opening, row display, moves, saves and closing. The work is
// done by editorlogic; these members move values between it and the boxes.
#include "frmedit.h"

#include "data/unsaved.h"
#include "data/records.h"
#include "data/datahome.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/windows.h"

#include <QDir>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <optional>

namespace {

constexpr QLatin1StringView kTitle("Lotwise");

bool askToSave(QWidget* parent, const QString& question) {
  return platform::messageBox(parent, question, kTitle, platform::Icon::Question, platform::Buttons::YesNo) ==
         platform::Answer::Yes;
}

platform::Answer askAboutChange(QWidget* parent, const QString& path) {
  const QString question =
      QStringLiteral(
          "%1 has changed on disk since the editor read it, perhaps saved by another copy of Lotwise.\n\n"
          "Overwrite: save the editor's rows over it; the other change is lost.\n"
          "Reload: read it again; the editor's changes to it are lost.\n"
          "Cancel: save nothing now.")
          .arg(QDir::toNativeSeparators(path));
  return platform::messageBox(parent, question, kTitle, platform::Icon::Question,
                              platform::Buttons::OverwriteReloadCancel);
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
          .arg(QDir::toNativeSeparators(data::appFile(name)), unread->description());
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
  loadWords();
  loadDictionary();
  CurrentRow = 1;
  ShowRow();
}

void frmEdit::reloadWords() {
  loadWords();
  // The Words of the row on show follow the list read; an edit to that row
  // still counts as unsaved.
  const bool dictChanged = bDictChanged;
  ShowRow();
  bDictChanged = dictChanged;
}

void frmEdit::reloadDictionary() {
  loadDictionary();
  ShowRow();
}

// The main window's warning about a data file, for one the editor refuses.
static QString refusal(const QString& kind, const QString& path, const std::optional<QString>& problem) {
  if (!problem)
    return QString();
  return QStringLiteral("The %1 %2 %3. The editor shows none of it and saves nothing over it.")
      .arg(kind, QDir::toNativeSeparators(path), *problem);
}

void frmEdit::loadWords() {
  const QString path = data::appFile(data::kWordsFile);
  const editor::WordList words = editor::readWordList(path);
  openingWarning = refusal(QStringLiteral("word list"), path, words.refusedForSize);
  wordsUnread = words.unread;
  wordsFingerprint = words.fingerprint;
  for (int k = 0; k < editor::kWordRows; ++k) {
    txtCode[k]->setText(words.codes[k]);
    txtWord[k]->setText(words.words[k]);
  }
  bWordsChanged = false;  // filling the boxes is not an edit
}

void frmEdit::loadDictionary() {
  const QString path = data::appFile(data::kDictionaryFile);
  const editor::Dictionary dictionary = editor::readDictionary(path);
  const QString warning = refusal(QStringLiteral("dictionary"), path, dictionary.refusedForSize);
  if (!warning.isEmpty())
    openingWarning += (openingWarning.isEmpty() ? QString() : QStringLiteral("\n\n")) + warning;
  dictUnread = dictionary.unread;
  dictFingerprint = dictionary.fingerprint;
  DictCode1 = dictionary.code1;
  DictCode2 = dictionary.code2;
  DictWords = dictionary.words;
  DictMeaning = dictionary.meaning;
  bDictChanged = false;
}

bool frmEdit::saveUnlessChanged(const QString& name, const QList<QStringList>& records, QByteArray& fingerprint,
                                void (frmEdit::*reload)()) {
  const QString path = data::appFile(name);
  QByteArray expected = fingerprint;
  for (;;) {
    data::SaveOutcome outcome;
    try {
      // A save waits for one that another copy has under way.
      QGuiApplication::setOverrideCursor(Qt::WaitCursor);
      const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
      outcome = data::saveFileIfUnchanged(path, records, expected);
    } catch (const platform::Error& error) {
      outcome.failure = error;
    }
    if (outcome.failure) {
      platform::showFailure(this, *outcome.failure);
      return false;
    }
    if (!outcome.changedOnDisk) {
      fingerprint = outcome.written;
      return true;
    }
    switch (askAboutChange(this, path)) {
      case platform::Answer::Overwrite:
        // Over what is there now; should it change again meanwhile, the
        // question comes again.
        expected = outcome.found;
        break;
      case platform::Answer::Reload:
        (this->*reload)();
        return false;
      default:
        return false;
    }
  }
}

bool frmEdit::Form_Unload() {
  if (bWordsChanged && askToSave(this, QStringLiteral("Do you want to save changes to Words?"))) {
    SaveChanges();
    if (bWordsChanged)
      return false;
  }
  if (bDictChanged && askToSave(this, QStringLiteral("Do you want to save changes to Dictionary?"))) {
    SaveDict();
    if (bDictChanged)
      return false;
  }
  return true;
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
  if (saveUnlessChanged(data::kWordsFile, editor::wordRecords(wordCodes(), wordTexts()), wordsFingerprint,
                        &frmEdit::reloadWords))
    bWordsChanged = false;
}

void frmEdit::SaveDict() {
  if (refusedAsUnread(this, data::kDictionaryFile, dictUnread))
    return;
  if (saveUnlessChanged(data::kDictionaryFile, editor::dictionaryRecords(DictCode1, DictCode2, DictWords, DictMeaning),
                        dictFingerprint, &frmEdit::reloadDictionary))
    bDictChanged = false;
}

QStringList frmEdit::keepUnsavedAside() {
  QStringList lost;
  // Each set of edits goes on its own: one that cannot be written (a full
  // disk) does not keep the other from being kept.
  const auto keep = [&lost](bool& changed, const QString& name, const QList<QStringList>& records) {
    if (!changed)
      return;
    const QString path = data::appFile(name);
    if (const std::optional<platform::Error> failure = data::keepUnsaved(path, records))
      lost << QStringLiteral("the unsaved edits to %1 could not be kept: %2")
                  .arg(QDir::toNativeSeparators(path), failure->description());
    else
      changed = false;
  };
  keep(bWordsChanged, data::kWordsFile, editor::wordRecords(wordCodes(), wordTexts()));
  keep(bDictChanged, data::kDictionaryFile, editor::dictionaryRecords(DictCode1, DictCode2, DictWords, DictMeaning));
  return lost;
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

void frmEdit::reject() { closeAsking(); }

bool frmEdit::closeAsking() {
  if (closing)
    return false;
  closing = true;
  const bool safe = Form_Unload();
  closing = false;
  if (!safe)
    return false;  // the failure was shown; the edits stay to be saved
  loaded = false;  // the next opening reads both files again
  QDialog::reject();
  return true;
}

void frmEdit::showEvent(QShowEvent* event) {
  if (!loaded)
    Form_Load();
  QDialog::showEvent(event);
  if (!openingWarning.isEmpty()) {
    // Once the window is up, so that the box shows above it.
    QTimer::singleShot(0, this, [this, warning = openingWarning] { platform::showNotice(this, warning, kTitle); });
    openingWarning.clear();
  }
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
