#include "app/WindowPalette.h"

namespace korvane::app {

QPalette WindowPalette()
{
    const QColor face(240, 240, 240);
    const QColor text(Qt::black);
    const QColor white(Qt::white);
    QPalette palette(text, face, white, QColor(160, 160, 160), QColor(160, 160, 160), text, white, white, face);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Midlight, QColor(227, 227, 227));
        palette.setColor(group, QPalette::Shadow, QColor(105, 105, 105));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::BrightText, white);
        palette.setColor(group, QPalette::AlternateBase, QColor(245, 245, 245));
        palette.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        palette.setColor(group, QPalette::HighlightedText, white);
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 225));
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::PlaceholderText, QColor(96, 96, 96));
        palette.setColor(group, QPalette::Link, QColor(0, 0, 238));
        palette.setColor(group, QPalette::LinkVisited, QColor(85, 26, 139));
    }
    // Greyed text stays readable on the light faces.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(96, 96, 96));
    // Every role is the window's own, none is taken from the desktop theme.
    palette.setResolveMask(~QPalette::ResolveMask(0));
    return palette;
}

}  // namespace korvane::app
