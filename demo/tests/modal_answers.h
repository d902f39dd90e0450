// Answers the modal dialogs a command opens, one answer per dialog in the
// order they appear, from a timer that runs inside the dialogs' own loops.
#pragma once

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

namespace orvex::demo::testing {

using Answer = std::function<void(QWidget*)>;

class ModalAnswers {
public:
    explicit ModalAnswers(std::deque<Answer> answers) : answers_(std::move(answers))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer_next(); });
        timer_.start();
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    /// How many of the answers were not used.
    std::size_t Unused() const { return answers_.size(); }

private:
    void answer_next()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == last_)
            return;
        last_ = modal;
        if (answers_.empty()) {
            // A dialog nobody expected (a warning, an error): name it and
            // close it, so the test fails instead of waiting for ever.
            auto* box = qobject_cast<QMessageBox*>(modal);
            ADD_FAILURE() << "unexpected dialog " << modal->metaObject()->className() << " \""
                          << modal->windowTitle().toStdString() << "\" "
                          << (box != nullptr ? box->text().toStdString() : std::string());
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                QTimer::singleShot(0, dialog, &QDialog::reject);
            return;
        }
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        // From a timer of its own: an answer that opens a further dialog
        // waits in that dialog's loop, and this timer must go on ticking.
        QTimer::singleShot(0, modal, [answer = std::move(answer), modal] { answer(modal); });
    }

    QTimer timer_;
    std::deque<Answer> answers_;
    QPointer<QWidget> last_;
};

/// Runs Command with the given answers for its dialogs; returns how many
/// answers were left over (0 when every expected dialog came).
inline std::size_t Answering(std::deque<Answer> answers, const std::function<void()>& Command)
{
    ModalAnswers modal(std::move(answers));
    Command();
    return modal.Unused();
}

inline Answer Cancel()
{
    return [](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); };
}

/// Goes to Path's folder in a file dialog, types its name and presses OK.
/// (selectFile() leaves the name box alone while it has the focus.)
inline Answer ChooseFile(const QString& Path)
{
    return [Path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        const QFileInfo file(Path);
        dialog->setDirectory(file.absolutePath());
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file.fileName());
        static_cast<QDialog*>(dialog)->accept();
    };
}

inline Answer ChooseColour(const QColor& Colour)
{
    return [Colour](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        dialog->setCurrentColor(Colour);
        dialog->accept();
    };
}

/// Reads a message box's text into Text and closes the box.
inline Answer ReadMessage(QString& Text)
{
    return [&Text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        Text = box != nullptr ? box->text() : QStringLiteral("<not a message box>");
        qobject_cast<QDialog*>(w)->accept();
    };
}

} // namespace orvex::demo::testing
