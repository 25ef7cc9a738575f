// Form_Resize: the right-hand column follows the right edge of the window
// and the meanings area reaches down to the button bar. Nothing is moved.
#include "frmcombination.h"

#include "platform/htmlview.h"
#include "platform/resumenext.h"
#include "platform/windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>

namespace {

constexpr double kRightMargin = 180;
constexpr double kBottomGap = 360;
constexpr double kWordGap = 75;

// Differences are formed in double precision and stored as single.
float twips(double value) { return static_cast<float>(value); }
double left(const QWidget* w) { return platform::pixelsToTwips(w->x()); }
double top(const QWidget* w) { return platform::pixelsToTwips(w->y()); }

}  // namespace

void frmCombination::Form_Resize() {
  using platform::heightTwips;
  using platform::resumeNext;
  using platform::setHeightTwips;
  using platform::setWidthTwips;
  using platform::widthTwips;

  // Each rule reads what the rules before it applied; a refused size leaves
  // the control as it was and the next rule still runs.
  const auto W = [this] { return double(widthTwips(clientArea)); };
  const auto H = [this] { return double(heightTwips(clientArea)); };
  resumeNext([&] { setWidthTwips(lblOutcomes, twips(W() - left(lblOutcomes) - kRightMargin)); });
  resumeNext([&] { setWidthTwips(txtResults, twips(W() - left(txtResults) - kRightMargin)); });
  resumeNext([&] { setWidthTwips(txtResult2, widthTwips(txtResults)); });
  resumeNext([&] { setWidthTwips(txtWord, widthTwips(txtResults)); });
  resumeNext([&] { setWidthTwips(txtMeaning, widthTwips(txtResults)); });
  resumeNext([&] { setWidthTwips(txtMeanings, widthTwips(txtResults)); });
  resumeNext([&] { setHeightTwips(txtMeanings, twips(H() - top(txtMeanings) - heightTwips(Picture1) - kBottomGap)); });
  // The list shows whole rows only: it may end a little shorter.
  resumeNext([&] {
    setHeightTwips(lstWords, heightTwips(txtMeanings));
    platform::showWholeRows(lstWords);
  });
  resumeNext(
      [&] { setHeightTwips(txtMeaning, twips(double(heightTwips(txtMeanings)) - heightTwips(txtWord) - kWordGap)); });
}
