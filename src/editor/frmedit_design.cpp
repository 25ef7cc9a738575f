// The editor's design: every control with its caption, place, colours and
// font, and the wiring of its events to the handlers.
#include "frmedit.h"

#include "platform/design.h"
#include "platform/focusring.h"
#include "platform/fonts.h"
#include "platform/windows.h"
#include "quotefree.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <climits>

namespace {

using platform::designFont;
using platform::kSans;
using platform::kTimes;
using platform::named;
using platform::placeTwips;
using platform::setBoxColours;
using platform::setColour;

constexpr int kClientWidth = 10845;
constexpr int kClientHeight = 7125;

const QColor kWindowGrey(224, 224, 224);
const QColor kWordButtons(255, 224, 192);
const QColor kDictButtons(255, 192, 255);
const QColor kFrameCaption(192, 0, 192);

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font) {
  auto* label = named(new QLabel(caption, parent), name);
  label->setFont(font);
  // Set, not inherited: the frame's caption colour would otherwise reach the
  // labels inside it.
  setColour(label, QPalette::WindowText, Qt::black);
  return label;
}

editor::QuoteFreeLineEdit* makeBox(QWidget* parent, const QString& name, const QFont& font) {
  auto* box = named(new editor::QuoteFreeLineEdit(parent), name);
  box->setMaxLength(INT_MAX);  // no box of the design limits its length
  box->setFont(font);
  return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QColor& colour) {
  auto* button = named(new QPushButton(caption, parent), name);
  button->setFont(designFont(kSans, 8.25, true));
  // The design's buttons are faces of their own colour with a raised edge.
  // The Fusion style only tints its pale gradient with the palette's colour,
  // so a style sheet paints them.
  setColour(button, QPalette::Button, colour);
  button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; border: 2px outset %1; }"
                                       "QPushButton:focus { border: 2px solid black; }"
                                       "QPushButton:pressed { border: 2px inset %1; }")
                            .arg(colour.name()));
  // No button answers Enter from a text box: a word ended with Enter must
  // not save or close anything. A focused button still takes Enter (see
  // keyPressEvent) and Space.
  button->setAutoDefault(false);
  button->setAccessibleName(QString(caption).remove(u'&'));
  return button;
}

}  // namespace

void frmEdit::buildDesign() {
  setObjectName("frmEdit");
  setWindowTitle("LTW Editor");
  setModal(true);
  setAutoFillBackground(true);
  setColour(this, QPalette::Window, kWindowGrey);
  setColour(this, QPalette::WindowText, Qt::black);
  setFixedSize(platform::twipsToPixels(kClientWidth), platform::twipsToPixels(kClientHeight));

  const QFont smallBold = designFont(kSans, 8.25, true);
  const QFont boxFont = designFont(kSans, 9.75);

  // The word list on the left: one row per code, in the order of their values.
  Label1 = makeLabel(this, "Label1", "Binary Code", smallBold);
  placeTwips(Label1, 720, 240, 1335, 255);
  Label2 = makeLabel(this, "Label2", "Word", smallBold);
  placeTwips(Label2, 2040, 240, 2655, 255);
  for (int i = 0; i < editor::kWordRows; ++i) {
    const int top = 480 + 360 * i;
    lblSN[i] = makeLabel(this, QString("lblSN_%1").arg(i), QString(), smallBold);
    placeTwips(lblSN[i], 120, top, 495, 255);
    txtCode[i] = makeBox(this, QString("txtCode_%1").arg(i), boxFont);
    setBoxColours(txtCode[i], Qt::white);
    txtCode[i]->setAccessibleName(QString("Binary Code %1").arg(i + 1));
    placeTwips(txtCode[i], 720, top, 1095, 285);
    txtWord[i] = makeBox(this, QString("txtWord_%1").arg(i), boxFont);
    setBoxColours(txtWord[i], Qt::white);
    txtWord[i]->setAccessibleName(QString("Word %1").arg(i + 1));
    placeTwips(txtWord[i], 2040, top, 2055, 285);
  }
  cmdSaveWords = makeButton(this, "cmdSaveWords", "Save Changes", kWordButtons);
  // Each half has its own "Save Changes" and "Close": a screen reader names
  // the half too.
  cmdSaveWords->setAccessibleName("Save Changes to Words");
  placeTwips(cmdSaveWords, 720, 6360, 1815, 615);
  cmdClose = makeButton(this, "cmdClose", "Close", kWordButtons);
  cmdClose->setAccessibleName("Close, under the words");
  placeTwips(cmdClose, 2760, 6360, 1335, 615);

  // The dictionary on the right, one row at a time.
  Frame = named(new QGroupBox("Dictionary", this), "Frame");
  Frame->setFont(designFont(kSans, 9.75, true));
  Frame->setAutoFillBackground(true);
  setColour(Frame, QPalette::Window, kWindowGrey);
  setColour(Frame, QPalette::WindowText, kFrameCaption);  // the style draws the caption in this role
  placeTwips(Frame, 4560, 120, 6135, 6015);

  const QFont labelFont = designFont(kSans, 9.75, true);
  const QFont rowFont = designFont(kTimes, 12);
  Label3 = makeLabel(Frame, "Label3", "Code 1", labelFont);
  placeTwips(Label3, 240, 360, 975, 375);
  Text1 = makeBox(Frame, "Text1", rowFont);
  Text1->setAccessibleName("Code 1");
  placeTwips(Text1, 1320, 360, 2055, 375);
  Label4 = makeLabel(Frame, "Label4", "Code 2", labelFont);
  placeTwips(Label4, 240, 840, 975, 375);
  Text2 = makeBox(Frame, "Text2", rowFont);
  Text2->setAccessibleName("Code 2");
  placeTwips(Text2, 1320, 840, 2055, 375);
  Label5 = makeLabel(Frame, "Label5", "Words", labelFont);
  placeTwips(Label5, 240, 1320, 975, 375);
  Text3 = makeBox(Frame, "Text3", rowFont);
  Text3->setAccessibleName("Words");
  placeTwips(Text3, 1320, 1320, 4575, 375);
  Label6 = makeLabel(Frame, "Label6", "Meaning", labelFont);
  placeTwips(Label6, 240, 1800, 975, 375);
  Text4 = named(new editor::QuoteFreeTextEdit(Frame), "Text4");
  Text4->setFont(rowFont);
  Text4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text4->setTabChangesFocus(true);  // Tab moves on, as in every other box
  Text4->setAccessibleName("Meaning");
  placeTwips(Text4, 1320, 1800, 4575, 3855);

  cmdPrevious = makeButton(this, "cmdPrevious", "< &Prev", kDictButtons);
  placeTwips(cmdPrevious, 4560, 6360, 975, 615);
  cmdNext = makeButton(this, "cmdNext", "&Next >", kDictButtons);
  placeTwips(cmdNext, 5760, 6360, 975, 615);
  cmdGoto = makeButton(this, "cmdGoto", "&Goto", kDictButtons);
  placeTwips(cmdGoto, 6840, 6360, 855, 615);
  cmdSaveDictionary = makeButton(this, "cmdSaveDictionary", "Save Changes", kDictButtons);
  cmdSaveDictionary->setAccessibleName("Save Changes to Dictionary");
  placeTwips(cmdSaveDictionary, 7800, 6360, 1695, 615);
  cmdClose2 = makeButton(this, "cmdClose2", "Close", kDictButtons);
  cmdClose2->setAccessibleName("Close, under the dictionary");
  placeTwips(cmdClose2, 9720, 6360, 975, 615);

  platform::showFocusRing(this);
}

void frmEdit::connectHandlers() {
  for (int i = 0; i < editor::kWordRows; ++i) {
    connect(txtCode[i], &editor::QuoteFreeLineEdit::changed, this, [this, i] { txtCode_Change(i); });
    connect(txtWord[i], &editor::QuoteFreeLineEdit::changed, this, [this, i] { txtWord_Change(i); });
  }
  connect(Text1, &editor::QuoteFreeLineEdit::changed, this, &frmEdit::Text1_Change);
  connect(Text2, &editor::QuoteFreeLineEdit::changed, this, &frmEdit::Text2_Change);
  connect(Text3, &editor::QuoteFreeLineEdit::changed, this, &frmEdit::Text3_Change);
  connect(Text4, &editor::QuoteFreeTextEdit::changed, this, &frmEdit::Text4_Change);
  connect(cmdSaveWords, &QPushButton::clicked, this, &frmEdit::cmdSaveWords_Click);
  connect(cmdClose, &QPushButton::clicked, this, &frmEdit::cmdClose_Click);
  connect(cmdPrevious, &QPushButton::clicked, this, &frmEdit::cmdPrevious_Click);
  connect(cmdNext, &QPushButton::clicked, this, &frmEdit::cmdNext_Click);
  connect(cmdGoto, &QPushButton::clicked, this, &frmEdit::cmdGoto_Click);
  connect(cmdSaveDictionary, &QPushButton::clicked, this, &frmEdit::cmdSaveDictionary_Click);
  connect(cmdClose2, &QPushButton::clicked, this, &frmEdit::cmdClose2_Click);
}
