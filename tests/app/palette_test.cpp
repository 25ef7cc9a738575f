// Both windows stay readable, and show where the keyboard focus is, under
// whatever palette the desktop hands the program: Fusion's light one, a dark
// one like Breeze Dark or qt6ct's "darker", and a high-contrast one. Every
// measure is taken on the pixels of a grab, after a real run on the shipped
// data files, never on palette values.
//
// The "desktop" case keeps the palette the program started with, as a
// platform theme gave it; the build runs it once for each of qt6ct's colour
// schemes (LOTWISE_DESKTOP_SCHEME names the scheme's file).
#include "app/frmcombination.h"
#include "data/records.h"
#include "editor/frmedit.h"
#include "platform/focusring.h"
#include "support/appdir.h"
#include "support/modal.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <optional>

namespace {

using lotwise::test::AppDir;
using platform::contrast;

constexpr double kTextFloor = 4.5;   // WCAG 2.1 AA for text
constexpr double kFocusFloor = 3.0;  // WCAG 2.2 focus appearance
constexpr int kWait = 10000;

// The design gives both colours of the blinking prompt, white or grey on
// the question bar's grey: no palette can mend or spoil it, so it is left
// out of the floor. So is the editor's frame caption, #C000C0 on #E0E0E0
// (3.97:1), which the walk below does not measure (a frame is not one of
// its kinds).
const QStringList kDesignPairs = {"lblQuestion"};

QPalette darkPalette() {
  const QColor text(0xFC, 0xFC, 0xFC);
  QPalette p(QColor(0x31, 0x36, 0x3B), QColor(0x2A, 0x2E, 0x32));
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, QColor(0x1B, 0x1E, 0x20));
  p.setColor(QPalette::AlternateBase, QColor(0x23, 0x26, 0x29));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9));
  p.setColor(QPalette::HighlightedText, text);
  return p;
}

QPalette highContrastPalette() {
  const QColor yellow(0xFF, 0xFF, 0x00);
  QPalette p(Qt::black, Qt::black);
  p.setColor(QPalette::WindowText, Qt::white);
  p.setColor(QPalette::Base, Qt::black);
  p.setColor(QPalette::AlternateBase, Qt::black);
  p.setColor(QPalette::Text, yellow);
  p.setColor(QPalette::ButtonText, yellow);
  p.setColor(QPalette::Highlight, QColor(0x00, 0xFF, 0xFF));
  p.setColor(QPalette::HighlightedText, Qt::black);
  return p;
}

// The palette the application started with, before any case set its own.
const QPalette& startPalette() {
  static const QPalette start = QApplication::palette();
  return start;
}

// The Window colour of a qt6ct colour scheme: the eleventh of its active
// colours, which follow QPalette's roles in order.
std::optional<QColor> schemeWindowColour(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    return std::nullopt;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("active_colors=")))
      continue;
    const QStringList colours = line.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    if (colours.size() > QPalette::Window)
      return QColor::fromString(colours[QPalette::Window].trimmed());
  }
  return std::nullopt;
}

QPalette paletteNamed(const std::string& name) {
  if (name == "desktop")
    return startPalette();
  if (name == "dark")
    return darkPalette();
  if (name == "highContrast")
    return highContrastPalette();
  return QApplication::style()->standardPalette();
}

QImage shot(QWidget* window) {
  QApplication::sendPostedEvents();
  QApplication::processEvents();
  return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A rectangle of a control, in the pixels of its window's grab.
QRect pixelsOf(const QWidget* control, const QRect& area, const QImage& image) {
  const qreal ratio = image.devicePixelRatio();
  const QRect logical(control->mapTo(control->window(), area.topLeft()), area.size());
  return QRect((QRectF(logical).topLeft() * ratio).toPoint(), (QSizeF(logical.size()) * ratio).toSize())
      .intersected(image.rect());
}

// Anti-aliasing: a stroke thinner than a pixel, like the stem of a serif
// "1" in the grid, covers no pixel whole, so even its darkest pixel is the
// text colour blended with some background. That "1" covers at most 91 % of
// one, which reads black on #7F7F7F (5.3:1, qt6ct's "dusk") as 4.48:1. The
// ratio is therefore taken on the colour a whole pixel of the stroke would
// show. The faults this test has caught (1.01, 1.25 and 2.59:1) stay far
// below the floor all the same.
constexpr double kThinStrokeCoverage = 0.9;

QColor wholeStroke(const QColor& ink, const QColor& background) {
  const auto channel = [](int stroke, int ground) {
    return std::clamp(qRound(ground + (stroke - ground) / kThinStrokeCoverage), 0, 255);
  };
  return QColor(channel(ink.red(), background.red()), channel(ink.green(), background.green()),
                channel(ink.blue(), background.blue()));
}

// What a text reads as: its most frequent pixel taken as the background, the
// pixel that stands out most from it as the ink. A handful of pixels must
// reach the ratio, so that one stray pixel of an edge cannot pass for text.
struct Reading {
  QColor background, ink;
  double ratio = 0;
};

Reading readText(const QImage& image, const QRect& area) {
  QHash<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      ++counts[image.pixel(x, y)];
  Reading reading;
  int most = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    if (it.value() > most) {
      most = it.value();
      reading.background = QColor(it.key());
    }
  // Colours from the most outstanding down, until enough pixels are ink.
  QList<QRgb> colours = counts.keys();
  std::sort(colours.begin(), colours.end(), [&reading](QRgb a, QRgb b) {
    return contrast(QColor(a), reading.background) > contrast(QColor(b), reading.background);
  });
  constexpr int kInkPixels = 6;
  int ink = 0;
  for (const QRgb colour : colours) {
    ink += counts.value(colour);
    if (ink >= kInkPixels) {
      reading.ink = QColor(colour);
      reading.ratio = contrast(wholeStroke(reading.ink, reading.background), reading.background);
      break;
    }
  }
  return reading;
}

// Where a control's text lies: inside the frame of a box or a button, in
// the viewport of a scrolling box, the whole of a label or a check box.
// Nothing when the control shows no text.
std::optional<QRect> textArea(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w))
    return label->text().isEmpty() ? std::nullopt : std::optional(label->rect());
  if (auto* box = qobject_cast<QLineEdit*>(w))
    return box->displayText().isEmpty() ? std::nullopt : std::optional(box->rect().adjusted(3, 3, -3, -3));
  if (auto* button = qobject_cast<QAbstractButton*>(w))
    return button->text().isEmpty() ? std::nullopt : std::optional(button->rect().adjusted(4, 4, -4, -4));
  auto* list = qobject_cast<QListWidget*>(w);
  auto* plain = qobject_cast<QPlainTextEdit*>(w);
  if ((list && list->count() > 0) || (plain && !plain->toPlainText().isEmpty())) {
    const QWidget* view = static_cast<QAbstractScrollArea*>(w)->viewport();
    return QRect(view->mapTo(w, QPoint(0, 0)), view->size());
  }
  if (qobject_cast<QMenuBar*>(w))
    return w->rect();
  return std::nullopt;
}

// Every visible text of a window against its background, by control name.
QHash<QString, Reading> readWindow(QWidget* window) {
  const QImage image = shot(window);
  QHash<QString, Reading> found;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisible() || kDesignPairs.contains(w->objectName()))
      continue;
    if (const std::optional<QRect> area = textArea(w))
      found.insert(w->objectName(), readText(image, pixelsOf(w, *area, image)));
  }
  return found;
}

void expectReadable(const QHash<QString, Reading>& found, const QStringList& mustHave) {
  for (const QString& name : mustHave)
    EXPECT_TRUE(found.contains(name)) << "no text measured in " << name.toStdString();
  for (auto it = found.cbegin(); it != found.cend(); ++it)
    EXPECT_GE(it->ratio, kTextFloor) << it.key().toStdString() << ": " << it->ink.name().toStdString() << " on "
                                     << it->background.name().toStdString();
}

class Palettes : public ::testing::TestWithParam<std::string> {
protected:
  void SetUp() override {
    startPalette();
    QApplication::setStyle("Fusion");  // the program's own style
    QApplication::setPalette(paletteNamed(GetParam()));
    for (const QString& name : {data::kWordsFile, data::kDictionaryFile})
      ASSERT_TRUE(QFile::copy(QStringLiteral(LOTWISE_DATA_DIR "/") + name, dir.file(name))) << name.toStdString();
  }
  void TearDown() override { QApplication::setPalette(startPalette()); }

  // The main window after a run, the active window with nothing focused.
  void run(frmCombination& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.cmdcalc_Click();
    ASSERT_EQ(window.findChild<QListWidget*>("lstWords")->count(), 8);
  }

  AppDir dir;
};

TEST_P(Palettes, EveryTextOfTheMainWindowReads) {
  frmCombination window;
  run(window);
  QHash<QString, Reading> found = readWindow(&window);  // the hint over the empty question
  window.findChild<QLineEdit*>("txtQuestion")->setText("Will I travel?");
  found.insert(readWindow(&window));
  QStringList mustHave = {"Text1",     "txtQuestion", "txtChar",   "lblchar",  "Label2",  "txtResult2",
                          "lblWord_0", "Label1",      "chkInvert", "lstWords", "txtWord", "txtMeaning",
                          "cmdcalc",   "cmdClose",    "cmdAbout",  "menuBar"};
  for (const int fix : {16, 0, 1, 2})
    mustHave << QString("txtFix_%1").arg(fix);
  for (int i = 0; i < 16; ++i)
    mustHave << QString("txtSet_%1").arg(i);
  expectReadable(found, mustHave);
}

TEST_P(Palettes, EveryTextOfTheEditorReads) {
  frmEdit editor;
  editor.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
  expectReadable(readWindow(&editor), {"Label1", "lblSN_0", "txtCode_0", "txtWord_15", "Label3", "Text1", "Text3",
                                       "Text4", "cmdSaveWords", "cmdPrevious", "cmdClose2"});
}

TEST_P(Palettes, TheAboutBoxAndTheDataFileWarningRead) {
  frmCombination window;
  run(window);
  QHash<QString, Reading> about;
  lotwise::test::whenModal([&about](QWidget* box) {
    about = readWindow(box);
    static_cast<QMessageBox*>(box)->done(QMessageBox::Ok);
  });
  window.cmdAbout_Click();
  expectReadable(about, {"qt_msgbox_label"});

  dir.write(data::kWordsFile, QByteArray());
  frmCombination warned;
  warned.show();
  QMessageBox* warning = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        warning = warned.findChild<QMessageBox*>();
        return warning && warning->isVisible();
      },
      kWait));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(warning));
  expectReadable(readWindow(warning), {"qt_msgbox_label"});
}

// Focus: for every control that takes it, the pixels that change between
// unfocused and focused number at least the control's perimeter, each with
// 3:1 against what was there before, and none of them belongs to another
// control.
int changedPixels(QWidget* control, const QImage& before, const QImage& after) {
  const QRect area = pixelsOf(control, control->rect().adjusted(-4, -4, 4, 4), before);
  int changed = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (contrast(QColor(before.pixel(x, y)), QColor(after.pixel(x, y))) >= kFocusFloor)
        ++changed;
  return changed;
}

// The pixels of other controls that the focus on this one changes: its
// siblings, and the controls inside it when it holds some (a bar).
int coveredPixels(QWidget* control, const QImage& before, const QImage& after) {
  QList<QWidget*> others;
  for (QObject* child : control->parentWidget()->children() + control->children()) {
    auto* other = qobject_cast<QWidget*>(child);
    if (other && other != control && other->isVisible() && !other->isWindow() &&
        !other->testAttribute(Qt::WA_TransparentForMouseEvents) &&
        (other->parentWidget() != control || !qobject_cast<QAbstractScrollArea*>(control)))
      others << other;
  }
  const QRect own = pixelsOf(control, control->rect(), before);
  int covered = 0;
  for (const QWidget* other : others) {
    const QRect area = pixelsOf(other, other->rect(), before);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        covered += !own.contains(x, y) && contrast(QColor(before.pixel(x, y)), QColor(after.pixel(x, y))) >= 1.5;
  }
  return covered;
}

void expectFocusShows(QWidget* window, const QList<QWidget*>& controls) {
  for (QWidget* control : controls) {
    if (QWidget* focused = QApplication::focusWidget())
      focused->clearFocus();
    const QImage before = shot(window);
    control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([control] { return control->hasFocus(); }, kWait))
        << control->objectName().toStdString();
    const QImage after = shot(window);
    const qreal ratio = before.devicePixelRatio();
    const int perimeter = qRound(2 * (control->width() + control->height()) * ratio);
    EXPECT_GE(changedPixels(control, before, after), perimeter) << control->objectName().toStdString();
    EXPECT_EQ(coveredPixels(control, before, after), 0) << control->objectName().toStdString();
  }
}

TEST_P(Palettes, FocusShowsOnEveryControlOfTheMainWindowInItsTabOrder) {
  frmCombination window;
  run(window);
  QStringList order = {"txtQuestion", "txtChar"};
  for (int i = 0; i < 16; ++i)
    order << QString("txtSet_%1").arg(i);
  for (const int fix : {16, 0, 1, 2})
    order << QString("txtFix_%1").arg(fix);
  order << "txtResult2"
        << "lstWords"
        << "txtMeaning"
        << "Picture1"
        << "cmdAbout"
        << "cmdcalc"
        << "txtWord"
        << "chkInvert"
        << "cmdClose"
        << "Picture2";

  // The ring changes nothing of the order: Tab goes round it as designed.
  QList<QWidget*> controls;
  window.findChild<QWidget*>("txtQuestion")->setFocus(Qt::TabFocusReason);
  for (const QString& name : order) {
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, kWait));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    controls << QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "txtQuestion");
  window.findChild<QTimer*>("Timer1")->stop();  // the blinking prompt would pass for a change
  expectFocusShows(&window, controls);
}

TEST_P(Palettes, FocusShowsOnEveryControlOfTheEditor) {
  frmEdit editor;
  editor.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
  editor.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
  QList<QWidget*> controls;
  for (QWidget* w : editor.findChildren<QWidget*>())
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
      controls << w;
  ASSERT_GE(controls.size(), 16 * 2 + 4 + 7);
  expectFocusShows(&editor, controls);
}

// The band a control's growth leaves: for each point along each edge of
// the control, whether the band changes a pixel there by 3:1 (outside the
// edge, or within two bands inside it); and the pixels deeper inside that
// the focus changed by 3:1, where no band belongs.
struct BandTrace {
  int unringed = 0;  // points of the edges with no band
  int inside = 0;    // band pixels left inside the control
};

BandTrace traceBand(const QWidget* control, const QImage& unfocused, const QImage& focused) {
  const qreal ratio = focused.devicePixelRatio();
  const QRect edge = pixelsOf(control, control->rect(), focused);
  const int band = qRound(platform::kFocusRingWidth * ratio);
  const auto changed = [&](int x, int y) {
    return focused.rect().contains(x, y) &&
           contrast(QColor(unfocused.pixel(x, y)), QColor(focused.pixel(x, y))) >= kFocusFloor;
  };
  const auto across = [&](int from, int to, const auto& at) {
    for (int d = from; d <= to; ++d)
      if (at(d))
        return true;
    return false;
  };
  BandTrace trace;
  for (int x = edge.left(); x <= edge.right(); ++x) {
    trace.unringed += !across(edge.top() - band, edge.top() + 2 * band - 1, [&](int y) { return changed(x, y); });
    trace.unringed += !across(edge.bottom() - 2 * band + 1, edge.bottom() + band, [&](int y) { return changed(x, y); });
  }
  for (int y = edge.top(); y <= edge.bottom(); ++y) {
    trace.unringed += !across(edge.left() - band, edge.left() + 2 * band - 1, [&](int x) { return changed(x, y); });
    trace.unringed += !across(edge.right() - 2 * band + 1, edge.right() + band, [&](int x) { return changed(x, y); });
  }
  const QRect deep = edge.adjusted(3 * band, 3 * band, -3 * band, -3 * band);
  for (int y = deep.top(); y <= deep.bottom(); ++y)
    for (int x = deep.left(); x <= deep.right(); ++x)
      trace.inside += changed(x, y);
  return trace;
}

// Widened and lengthened with the focus kept, the bit report and the
// meaning box are ringed at their new edges, and nothing of the band stays
// where their old edges were.
TEST_P(Palettes, TheBandFollowsItsControlAsTheWindowGrows) {
  frmCombination window;
  run(window);
  const QSize design = window.size();
  for (const char* name : {"txtResult2", "txtMeaning"}) {
    SCOPED_TRACE(name);
    window.resize(design);
    auto* control = window.findChild<QWidget*>(name);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.size() == design; }, kWait));
    control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([control] { return control->hasFocus(); }, kWait));
    const QSize before = control->size();
    shot(&window);  // the band drawn at the old edges
    window.resize(design + QSize(150, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control->width() == before.width() + 150; }, kWait));
    shot(&window);
    window.resize(design + QSize(150, 90));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.size() == design + QSize(150, 90); }, kWait));
    const QImage focused = shot(&window);
    ASSERT_TRUE(control->hasFocus());
    control->clearFocus();
    const QImage unfocused = shot(&window);
    const BandTrace trace = traceBand(control, unfocused, focused);
    EXPECT_EQ(trace.unringed, 0) << control->width() << " x " << control->height();
    EXPECT_EQ(trace.inside, 0);
  }
}

// The two bars lie on the black window, which edges them in black: a band
// inside a bar stands out from that edge, all along it.
TEST_P(Palettes, TheBandOnABarStandsOutFromTheBlackAroundIt) {
  frmCombination window;
  run(window);
  const struct {
    const char* bar;
    bool top;  // the edge against the black: the bar's top, or its bottom
  } edges[] = {{"Picture1", true}, {"Picture2", false}};
  for (const auto& edge : edges) {
    SCOPED_TRACE(edge.bar);
    auto* bar = window.findChild<QWidget*>(edge.bar);
    bar->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([bar] { return bar->hasFocus(); }, kWait));
    const QImage image = shot(&window);
    const QRect area = pixelsOf(bar, bar->rect(), image);
    const int inside = edge.top ? area.top() : area.bottom();
    const int outside = edge.top ? inside - 1 : inside + 1;
    int dull = 0;
    for (int x = area.left() + 8; x <= area.right() - 8; ++x) {
      EXPECT_EQ(QColor(image.pixel(x, outside)), QColor(Qt::black)) << x;
      dull += contrast(QColor(image.pixel(x, inside)), QColor(image.pixel(x, outside))) < kFocusFloor;
    }
    EXPECT_EQ(dull, 0);
  }
}

// Without a scheme named, the desktop case is the platform's own palette,
// light on the offscreen platform. With one, the scheme must have reached
// the program, or the case would measure nothing new.
TEST(DesktopPalette, IsTheSchemeOfTheDesktop) {
  const QString scheme = qEnvironmentVariable("LOTWISE_DESKTOP_SCHEME");
  if (scheme.isEmpty())
    GTEST_SKIP() << "no desktop colour scheme named (LOTWISE_DESKTOP_SCHEME)";
  const std::optional<QColor> window = schemeWindowColour(scheme);
  ASSERT_TRUE(window) << "no active colours in " << scheme.toStdString();
  QApplication::setStyle("Fusion");
  EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Window).name(), window->name())
      << "the scheme did not reach the program: is qt6ct installed, and QT_QPA_PLATFORMTHEME=qt6ct set?";
}

INSTANTIATE_TEST_SUITE_P(, Palettes, ::testing::Values("light", "dark", "highContrast", "desktop"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// The two measures the checks above rest on.
TEST(Contrast, KnownPairs) {
  const struct {
    QColor a, b;
    double ratio;
  } cases[] = {
      {Qt::white, Qt::black, 21.0},
      {Qt::black, Qt::white, 21.0},
      {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},  // the usual "just below AA" grey
      {Qt::white, QColor(0xFF, 0xFF, 0xC0), 1.03},  // the word box when its text followed a dark palette
      {QColor(0xC0, 0x00, 0x00), Qt::white, 6.48},  // the bit report on its white
      {QColor(0x80, 0x80, 0xFF), QColor(0x80, 0x80, 0xFF), 1.0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(contrast(c.a, c.b), c.ratio, 0.01) << c.a.name().toStdString() << " " << c.b.name().toStdString();
}

TEST(FocusRing, ColourStandsOutOnEachBackgroundOfTheDesigns) {
  const QColor yellow(0xFF, 0xFF, 0x00);
  EXPECT_EQ(platform::ringColourOn(Qt::black), yellow);                    // the main window
  EXPECT_EQ(platform::ringColourOn(QColor(0xC0, 0xC0, 0xC0)), Qt::black);  // the question bar
  EXPECT_EQ(platform::ringColourOn(QColor(0x80, 0x80, 0xFF)), Qt::black);  // the button bar
  EXPECT_EQ(platform::ringColourOn(QColor(0xE0, 0xE0, 0xE0)), Qt::black);  // the editor
  for (const QColor& background : {QColor(Qt::black), QColor(0xC0, 0xC0, 0xC0), QColor(0x80, 0x80, 0xFF),
                                   QColor(0xE0, 0xE0, 0xE0), QColor(0xFF, 0x80, 0x00)})
    EXPECT_GE(contrast(platform::ringColourOn(background), background), kFocusFloor) << background.name().toStdString();
}

}  // namespace
