// Building blocks of the tool windows. Every layout lives in a Designer form;
// what uic cannot write there (fonts in pixels, text colours, generated
// pictures) the form marks with dynamic properties, and ApplyFormLook puts them
// on the widgets once, after setupUi:
//
//   pixelFont   "Tahoma 12 bold", "MS Sans Serif 17": family, pixel height, style
//   textColor   "navy", "red", "#0066cc": the text of a label, edit, list or button
//   baseColor   "#c0dcc0": the ground of an edit, memo or list
//   picture     "logo_iho.png": a generated picture from assets/, shown by a label
//   tabFont     "Tahoma 13": the captions of a tab set's tabs, not its pages
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <initializer_list>

class QLineEdit;
class QTabWidget;

namespace kit {

inline const QString kTahoma = QStringLiteral("Tahoma");
inline const QString kSansSerif = QStringLiteral("MS Sans Serif");

inline const QColor kNavy(0, 0, 128);
inline const QColor kCream(255, 251, 240);
inline const QColor kPaleGreen(192, 220, 192); // the result fields' "money green"
inline const QColor kHotLight(0, 102, 204);    // the desktop's hot-light (link) colour

// A font by family and pixel height, as the layouts give them.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// Reads a pixelFont text ("Tahoma 12 bold"); an unreadable text gives the
// default font.
QFont PixelFontFromText(const QString& text);

// Text colour of a label, edit, drop-down or button alike.
void SetTextColor(QWidget* widget, const QColor& color);

// Whole, unsigned figures: the fields take digits only, as a number field of
// the layouts does.
void AcceptDigitsOnly(std::initializer_list<QLineEdit*> fields);

// The light palette the layouts were designed on, whatever the desktop's theme.
QPalette DesignPalette();

// Puts the design's palette and the look the form marks (see above) on the
// window and every widget in it.
void ApplyFormLook(QWidget* window);

// The title-bar buttons of a top-level window. Every window has a system menu
// and can be closed; none offers a maximise button, since the layouts are fixed
// in pixels. Whether the border is sizeable is the form's choice of a fixed or
// a free size.
void SetWindowButtons(QWidget* window, bool minimiseButton);

// Puts a window's fixed layout into a scroll area: the layout keeps its design
// size and grows with the window, and a window made smaller than it (a laptop's
// screen) scrolls instead of laying one part over another. A window of fixed
// size keeps its size as the largest. Call after setupUi. For windows that
// draw nothing on their own surface: their drawings are widgets of the form.
// Returns the widget that now holds the layout, the window's new background.
// `smallest`, when given, is the least size the window lays itself out for
// (its own resize handling moves its parts): scroll bars come only below it.
QWidget* ScrollWhenSmaller(QWidget* window, QSize smallest = QSize());

// The keyboard's way through a finished window: Tab leaves the memos instead
// of typing into them, and after the last input it stops on each chart, where
// Ctrl+C copies its numbers and the menu key opens its menu. The charts are
// moved to the end of the window's chain, so the first field still gets the
// focus when the window opens. Call once the window has all its parts.
void SetUpKeyboard(QWidget* window);

// The pages of a tab set whose fields stand at fixed places: a page made
// narrower or lower than its fields scrolls them, on the page's own ground,
// so a window that gives its tabs less room loses no field.
void ScrollPagesWhenSmaller(QTabWidget* tabs);

// Where a window opens: at `wanted`, but never larger than the screen's
// available area and never outside it, its frame included. `decoration`: the
// frame's width and height as the desktop draws it round a window already
// shown (the launcher's), for a window that has not been shown yet.
void PlaceOnScreen(QWidget* window, const QPoint& wanted, const QRect& available, const QSize& decoration);

} // namespace kit
