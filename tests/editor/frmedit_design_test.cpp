// The editor's window as designed: captions, places, colours and fonts.
#include "editor/frmedit.h"
#include "platform/windows.h"
#include "support/appdir.h"
#include "support/printers.h"

#include <QFontInfo>
#include <QSet>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

using lotwise::test::AppDir;

QRect twips(int left, int top, int width, int height) {
  return {platform::twipsToPixels(left), platform::twipsToPixels(top), platform::twipsToPixels(width),
          platform::twipsToPixels(height)};
}

bool near(const QColor& a, const QColor& b, int tolerance = 12) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

class Design : public ::testing::Test {
protected:
  void SetUp() override { editor.show(); }

  template <typename T = QWidget>
  T* get(const QString& name) {
    T* w = editor.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }

  AppDir dir;  // no files: the design shows as it is
  frmEdit editor;
};

TEST_F(Design, WindowIsAModalDialogOfTheDesignSize) {
  EXPECT_EQ(editor.windowTitle(), "LTW Editor");
  EXPECT_TRUE(editor.isModal());
  EXPECT_EQ(editor.size(), twips(0, 0, 10845, 7125).size());
  EXPECT_EQ(editor.palette().color(QPalette::Window), QColor(224, 224, 224));
}

TEST_F(Design, ControlsCarryTheirCaptionsAndPlaces) {
  struct Row {
    QString name;
    QString caption;
    QRect place;
  };
  QList<Row> rows{
      {"Label1", "Binary Code", twips(720, 240, 1335, 255)},
      {"Label2", "Word", twips(2040, 240, 2655, 255)},
      {"cmdSaveWords", "Save Changes", twips(720, 6360, 1815, 615)},
      {"cmdClose", "Close", twips(2760, 6360, 1335, 615)},
      {"Frame", "Dictionary : Row 1 of 256", twips(4560, 120, 6135, 6015)},
      {"Label3", "Code 1", twips(240, 360, 975, 375)},
      {"Text1", "", twips(1320, 360, 2055, 375)},
      {"Label4", "Code 2", twips(240, 840, 975, 375)},
      {"Text2", "", twips(1320, 840, 2055, 375)},
      {"Label5", "Words", twips(240, 1320, 975, 375)},
      {"Text3", " - ", twips(1320, 1320, 4575, 375)},
      {"Label6", "Meaning", twips(240, 1800, 975, 375)},
      {"Text4", "", twips(1320, 1800, 4575, 3855)},
      {"cmdPrevious", "< &Prev", twips(4560, 6360, 975, 615)},
      {"cmdNext", "&Next >", twips(5760, 6360, 975, 615)},
      {"cmdGoto", "&Goto", twips(6840, 6360, 855, 615)},
      {"cmdSaveDictionary", "Save Changes", twips(7800, 6360, 1695, 615)},
      {"cmdClose2", "Close", twips(9720, 6360, 975, 615)},
  };
  for (int i = 0; i < 16; ++i) {
    rows.append({QString("lblSN_%1").arg(i), QString::number(i + 1), twips(120, 480 + 360 * i, 495, 255)});
    rows.append({QString("txtCode_%1").arg(i), "", twips(720, 480 + 360 * i, 1095, 285)});
    rows.append({QString("txtWord_%1").arg(i), "", twips(2040, 480 + 360 * i, 2055, 285)});
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name.toStdString());
    QWidget* w = get(row.name);
    ASSERT_NE(w, nullptr);
    QString caption;
    if (auto* l = qobject_cast<QLabel*>(w))
      caption = l->text();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
      caption = e->text();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
      caption = p->toPlainText();
    else if (auto* b = qobject_cast<QPushButton*>(w))
      caption = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
      caption = g->title();
    EXPECT_EQ(caption, row.caption);
    EXPECT_EQ(w->geometry(), row.place);
    EXPECT_TRUE(w->isVisible());
    const bool inFrame = row.name.startsWith("Label") && row.name != "Label1" && row.name != "Label2";
    EXPECT_EQ(w->parentWidget()->objectName(), (inFrame || row.name.startsWith("Text")) ? "Frame" : "frmEdit");
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      EXPECT_EQ(e->maxLength(), INT_MAX);
    }
  }
  EXPECT_EQ(get<QPlainTextEdit>("Text4")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(Design, FontsAreTheDesignsWithTheirStandIns) {
  struct Row {
    const char* name;
    const char* family;
    qreal points;
    bool bold;
  };
  const Row rows[] = {
      {"Label1", "MS Sans Serif", 8.25, true},       {"lblSN_3", "MS Sans Serif", 8.25, true},
      {"txtCode_0", "MS Sans Serif", 9.75, false},   {"txtWord_9", "MS Sans Serif", 9.75, false},
      {"cmdSaveWords", "MS Sans Serif", 8.25, true}, {"cmdGoto", "MS Sans Serif", 8.25, true},
      {"Frame", "MS Sans Serif", 9.75, true},        {"Label6", "MS Sans Serif", 9.75, true},
      {"Text1", "Times New Roman", 12, false},       {"Text4", "Times New Roman", 12, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QFont font = get(row.name)->font();
    EXPECT_EQ(font.family(), row.family);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), row.points);
    EXPECT_EQ(font.bold(), row.bold);
  }
  // The editor installs the stand-ins itself, also without the main window.
  EXPECT_EQ(QFontInfo(get("Text4")->font()).family(), "Liberation Serif");
  EXPECT_EQ(QFontInfo(get("Label1")->font()).family(), "Liberation Sans");
}

TEST_F(Design, ButtonsShowTheirColourAndTheFrameItsCaptionColour) {
  struct Row {
    const char* name;
    QColor colour;
  };
  const Row rows[] = {
      {"cmdSaveWords", QColor(255, 224, 192)}, {"cmdClose", QColor(255, 224, 192)},
      {"cmdPrevious", QColor(255, 192, 255)},  {"cmdNext", QColor(255, 192, 255)},
      {"cmdGoto", QColor(255, 192, 255)},      {"cmdSaveDictionary", QColor(255, 192, 255)},
      {"cmdClose2", QColor(255, 192, 255)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto* button = get<QPushButton>(row.name);
    EXPECT_FALSE(button->autoDefault());
    const QImage face = button->grab().toImage();
    // A point of the face away from the caption and the border.
    const QColor sample = face.pixelColor(face.width() / 6, face.height() / 2);
    EXPECT_TRUE(near(sample, row.colour)) << sample.name().toStdString();
  }

  auto* frame = get<QGroupBox>("Frame");
  EXPECT_EQ(frame->palette().color(QPalette::WindowText), QColor(192, 0, 192));
  EXPECT_EQ(get<QLabel>("Label3")->palette().color(QPalette::WindowText), QColor(Qt::black));
  const QImage image = frame->grab().toImage();
  int captionPixels = 0;
  for (int y = 0; y < platform::twipsToPixels(300); ++y)
    for (int x = 0; x < image.width(); ++x)
      captionPixels += near(image.pixelColor(x, y), QColor(192, 0, 192), 24);
  EXPECT_GT(captionPixels, 20);
  EXPECT_EQ(get<QLineEdit>("txtCode_0")->palette().color(QPalette::Base), QColor(Qt::white));
}

}  // namespace

namespace {

TEST_F(Design, EveryControlThatTakesTheFocusHasItsOwnAccessibleName) {
  QSet<QString> names;
  int focusable = 0;
  for (QWidget* w : editor.findChildren<QWidget*>()) {
    if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || w->objectName().isEmpty() ||
        w->objectName().startsWith("qt_"))
      continue;
    ++focusable;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_FALSE(names.contains(w->accessibleName())) << w->accessibleName().toStdString();
    names.insert(w->accessibleName());
  }
  EXPECT_EQ(focusable, 16 + 16 + 4 + 7);  // code and word boxes, Text1..Text4, buttons
}

}  // namespace
