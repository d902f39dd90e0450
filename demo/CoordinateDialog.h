// The common shape of the Draw menu's entry dialogs: a fixed-size modal
// dialog with numbered edit boxes, the radio choice "Draw Only" / "Draw and
// Save to Memory", and OK and Cancel. It is made once and only shown and
// hidden, so the boxes and the choice keep what the user left in them.
#pragma once

#include <OrvexGDI/QOrvexGDI.h>

#include <QDialog>
#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvex::demo {

/// One edit box with its caption: the label's position, the box's top.
struct TEntryField {
    QString Caption;
    QPoint LabelAt;
    int EditLeft = 0;
    int EditTop = 0;
    int EditWidth = 0;
};

/// Where the dialog's controls go: its client size, the radio buttons, OK and Cancel.
struct TEntryLayout {
    QSize Client;
    QPoint DrawOnly, DrawAndSave, Ok, Cancel;
};

class TCoordinateDialog : public QDialog {
public:
    /// A dialog acting on Target. Edits are named Edit1, Edit2, ... and
    /// their labels Label1, Label2, ... in the order of Fields.
    TCoordinateDialog(TOrvexGDI* Target, QWidget* Parent, const char* Name, const QString& Caption,
                      const std::vector<TEntryField>& Fields, const TEntryLayout& Layout);

    /// Edit box Index, 1 for the first.
    QLineEdit* Edit(int Index) const { return edits_.at(static_cast<std::size_t>(Index - 1)); }

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    /// OK: converts every box in order and draws the figure; with "Draw and
    /// Save to Memory" converts them once more and stores it; then closes.
    /// A box that holds no number raises EConvertError before anything is
    /// drawn, and the dialog stays open.
    void BitBtn1Click();

protected:
    /// Paints the figure of Values (in the order of the boxes) on Target.
    virtual void DrawFigure(const std::vector<double>& Values) = 0;
    /// Adds the figure of Values to Target's elements.
    virtual void MakeFigure(const std::vector<double>& Values) = 0;

    void showEvent(QShowEvent* Event) override;

    TOrvexGDI* const Target;

private:
    std::vector<double> read_values() const;

    std::vector<QLineEdit*> edits_;
};

} // namespace orvex::demo
