// How the windows dress their controls: the design's fonts, text and back
// colours, and plain-text labels. Sizes are in points, as the design gives them.
#pragma once

#include <string>

#include <QColor>
#include <QFont>
#include <QPalette>

class QLabel;
class QWidget;

namespace korvane::app {

// The design's font faces; each falls back on installed look-alikes.
enum class Face { Tahoma, Verdana, TimesNewRoman, Arial, MSSansSerif };

// The design's font at `points`, kept to whole pixels at 96 dots per inch
// so that text is drawn at the size the layout was made for.
QFont DesignFont(Face face, double points, bool bold = false);

// Text in `colour`, in both text roles (labels and frames use the window
// text role, fields the text role).
void SetTextColour(QWidget* widget, const QColor& colour);
// A filled background in `colour`, in the role the widget fills from.
void SetBackColour(QWidget* widget, const QColor& colour, QPalette::ColorRole role = QPalette::Window);

// A label named `name` showing `caption` as plain text ("&&" shows one
// ampersand) in `font`, word-wrapped unless told otherwise.
QLabel* MakeLabel(QWidget* parent, const char* name, const std::string& caption, const QFont& font,
                  bool wordWrap = true);

}  // namespace korvane::app
