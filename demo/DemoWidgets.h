// Small builders for the demonstration program's windows: each places one
// toolkit control at a pixel position inside its parent and gives it the
// component name that tests and scripts find it by.
#pragma once

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace orvex::demo {

/// A label sized to its caption.
QLabel* AddLabel(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top);
/// A label sized to its caption whose right edge ends a small gap before
/// ToLeftOf, on the text line of an edit box at Top.
QLabel* AddLabelBefore(QWidget* Parent, const char* Name, const QString& Caption, int ToLeftOf, int Top);
/// A push button of the framework's standard size (or Width when given),
/// wider for a long caption.
QPushButton* AddButton(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top, int Width = 0);
/// A one-line edit box of the standard height.
QLineEdit* AddEdit(QWidget* Parent, const char* Name, const QString& Text, int Left, int Top, int Width);
QCheckBox* AddCheckBox(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top);
QRadioButton* AddRadioButton(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top);
QGroupBox* AddGroupBox(QWidget* Parent, const char* Name, const QString& Caption, int Left, int Top, int Width,
                       int Height);

/// Sets a label's text and sizes the label to it, as labels that size
/// themselves do.
void SetCaption(QLabel* Label, const QString& Caption);

/// Makes a page control's tabs as narrow as their captions allow, so six
/// pages fit the width their layout gives them.
void UseCompactTabs(QTabWidget* Pages);

/// Moves a top-level window to the middle of the screen it is on.
void CenterOnScreen(QWidget* Window);

} // namespace orvex::demo
