// What a screen reader finds in the program's windows: roles and names for the
// program's own widgets, and texts without the spaces that pad them for the eye.
#pragma once

#include <QString>

class QWidget;

namespace quillory {

// Installs the accessibility of the program's own widgets (once per process).
void installAccessibility();

// A caption or label text as spoken: no spaces at either end, none between two
// full-width characters, and a single space elsewhere.
QString withoutPadding(const QString& text);

// What a screen reader announces for a widget, and its description.
QString accessibleNameOf(QWidget* widget);
QString accessibleDescriptionOf(QWidget* widget);

} // namespace quillory
