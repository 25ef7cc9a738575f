// The copy of the meanings page that the view is given. Meanings are written
// into the page as they stand, so a dictionary from someone else puts any
// markup it likes there, and Qt's text engine opens the files that markup
// names and nests as deep as it is told, until it freezes or overflows its
// stack. The view renders this copy instead: a few kinds of formatting,
// nested a few levels deep, naming nothing outside the page.
#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// Formatting nested deeper than this is flattened into its text.
inline constexpr int kMaxHtmlDepth = 32;

// The page with only the formatting it keeps, each element closed, and every
// "<" that starts no tag written as "&lt;". Text and entities stay as they
// are. Takes time in proportion to the page's length, whatever it holds.
QString harmlessHtml(QStringView page);

}  // namespace platform
