// Text boxes that never take a double quote from the user: typed, pasted,
// dropped or composed by an input method, the quote is dropped and every
// other character goes in.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

namespace editor {

// For single-line boxes. Every way text enters a QLineEdit passes its
// validator, so the quote is taken out there and the rest accepted.
class QuoteFreeValidator : public QValidator {
  Q_OBJECT

public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// A single-line box with that validator. A quote taken out again still
// makes QLineEdit report a change of text; changed() reports only a text
// that differs from the one reported before.
class QuoteFreeLineEdit : public QLineEdit {
  Q_OBJECT

public:
  explicit QuoteFreeLineEdit(QWidget* parent = nullptr);

signals:
  void changed();

private:
  QString m_reported;
};

// For the multi-line Meaning box, which has no validator: keys, the
// clipboard, drops and input methods are filtered where they come in.
class QuoteFreeTextEdit : public QPlainTextEdit {
  Q_OBJECT

public:
  using QPlainTextEdit::QPlainTextEdit;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace editor
