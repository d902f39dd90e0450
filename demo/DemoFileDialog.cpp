#include "DemoFileDialog.h"

#include <QFileInfo>

namespace orvex::demo {

int CadTypeOfFile(const QString& FileName)
{
    const qsizetype point = FileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = point < 0 ? QString() : FileName.mid(point).toUpper();
    if (extension == QLatin1String(".DXF"))
        return 2;
    if (extension == QLatin1String(".IGS") || extension == QLatin1String(".IGES"))
        return 3;
    return 1;
}

TFileDialog::TFileDialog(QWidget* Parent, const char* Name, TKind Kind) : QFileDialog(Parent), kind_(Kind)
{
    setObjectName(QLatin1String(Name));
    // Qt's own dialog on every desktop, so the program looks and behaves the
    // same everywhere and scripts can answer it.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    if (Kind == dkSave) {
        setWindowTitle(QStringLiteral("Save As"));
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        // The framework's save dialog replaces an existing file without asking.
        setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        setWindowTitle(QStringLiteral("Open"));
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }
}

void TFileDialog::SetFilter(const QString& Filter)
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the last parentheses and, with the
        // details hidden, shows the text before them: the description.
        QString pattern = parts[i + 1];
        entries << parts[i] + QStringLiteral(" (") + pattern.replace(QLatin1Char(';'), QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    setNameFilters(entries);
}

void TFileDialog::SetFilterIndex(int Index)
{
    const QStringList entries = nameFilters();
    if (Index >= 1 && Index <= entries.size())
        selectNameFilter(entries[Index - 1]);
}

void TFileDialog::SetDefaultExt(const QString& Extension)
{
    defaultExt_ = Extension;
    QString suffix = Extension;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    // Qt adds its suffix to every name without a point, even to an existing
    // file's; the open dialog decides for itself in accept().
    setDefaultSuffix(kind_ == dkSave ? suffix : QString());
}

QString TFileDialog::Execute()
{
    if (exec() != QDialog::Accepted)
        return {};
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void TFileDialog::accept()
{
    if (kind_ == dkOpen && !defaultExt_.isEmpty()) {
        const QStringList files = selectedFiles();
        if (files.size() == 1) {
            const QFileInfo typed(files.first());
            const QString withExtension = files.first() + defaultExt_;
            if (!typed.exists() && !typed.fileName().contains(QLatin1Char('.')) && QFileInfo::exists(withExtension)) {
                // selectFile() leaves the name box alone while it has the focus.
                if (QWidget* typing = focusWidget())
                    typing->clearFocus();
                selectFile(withExtension);
            }
        }
    }
    QFileDialog::accept();
}

} // namespace orvex::demo
