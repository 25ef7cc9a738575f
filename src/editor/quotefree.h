// Text boxes that never take a double quote from the user. A typed or
// composed quote is discarded like a refused key: text, caret, selection and
// the change report stay as they were. Pasted or dropped text goes in less
// its quotes, replacing the selection as any paste does.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

namespace editor {

// For single-line boxes. Every way text enters a QLineEdit passes its
// validator, so pasted and dropped quotes are taken out there and the rest
// accepted. Keys cannot wait for it: by then the quote has already replaced
// the selection.
class QuoteFreeValidator : public QValidator {
  Q_OBJECT

public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// A single-line box with that validator, which also drops typed quotes
// before they reach the text. A quote taken out again still makes QLineEdit
// report a change of text; changed() reports only a text that differs from
// the one reported before.
class QuoteFreeLineEdit : public QLineEdit {
  Q_OBJECT

public:
  explicit QuoteFreeLineEdit(QWidget* parent = nullptr);

signals:
  void changed();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

private:
  QString m_reported;
};

// For the multi-line Meaning box, which has no validator: keys, the
// clipboard, drops and input methods are filtered where they come in.
// changed() reports only a text that differs from the one reported before,
// since the box also reports input-method events that changed nothing.
class QuoteFreeTextEdit : public QPlainTextEdit {
  Q_OBJECT

public:
  explicit QuoteFreeTextEdit(QWidget* parent = nullptr);

signals:
  void changed();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

private:
  QString m_reported;
};

}  // namespace editor
