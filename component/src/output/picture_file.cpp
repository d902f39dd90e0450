#include "picture_file.h"

#include "device_stream.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <QFileInfo>
#include <QSaveFile>

namespace orvex::output {

namespace {

[[noreturn]] void raise(const QString& FileName, const QString& reason)
{
    throw EFileError(QStringLiteral("Cannot write the picture file \"%1\": %2").arg(FileName, reason).toStdString());
}

} // namespace

void write_picture_file(const QString& FileName, const std::function<void(std::ostream& out)>& write)
{
    if (FileName.isEmpty())
        raise(FileName, QStringLiteral("no file name"));
    // Renaming a temporary file over a device node or a FIFO would replace it.
    const QFileInfo target(FileName);
    if (target.exists() && !target.isFile())
        raise(FileName, QStringLiteral("not a regular file"));

    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        raise(FileName, file.errorString());
    DeviceBuffer buffer(file);
    std::ostream out(&buffer);
    try {
        write(out);
    } catch (const EFileError& e) {
        file.cancelWriting();
        raise(FileName, QString::fromStdString(e.what()));
    } catch (...) {
        file.cancelWriting(); // the encoder's own errors reach the caller as they are
        throw;
    }
    if (!out) {
        file.cancelWriting();
        raise(FileName, file.errorString());
    }
    if (!file.commit())
        raise(FileName, file.errorString());
}

} // namespace orvex::output
