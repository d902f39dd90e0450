// The file dialogs of the demonstration program, set up as the framework's
// open and save dialogs are: a filter of "description|pattern" pairs, a
// 1-based filter index and a default extension.
#pragma once

#include <QFileDialog>
#include <QString>

namespace orvex::demo {

/// The CadType a drawing file name selects: its extension from the last
/// point on, upper-cased, ".OVX" 1, ".DXF" 2, ".IGS" 3; any other extension,
/// or none, 1.
int CadTypeOfFile(const QString& FileName);

class TFileDialog : public QFileDialog {
public:
    enum TKind { dkOpen, dkSave };

    TFileDialog(QWidget* Parent, const char* Name, TKind Kind);

    /// "OVX Files (*.ovx)|*.ovx|DXF Files (*.dxf)|*.dxf": the entries show
    /// their descriptions and list the files of their patterns.
    void SetFilter(const QString& Filter);
    /// Selects filter entry Index (1 is the first); others are ignored.
    void SetFilterIndex(int Index);
    /// ".ovx": added to a typed name that has no extension. The open dialog
    /// takes an existing file of the typed name first.
    void SetDefaultExt(const QString& Extension);

    /// Shows the dialog modally: the chosen file's full name, or an empty
    /// text when it is cancelled.
    QString Execute();

protected:
    void accept() override;

private:
    TKind kind_;
    QString defaultExt_;
};

} // namespace orvex::demo
