#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace platform {

// The application's title, shown by a message box that is given no title of its own.
inline const QString kApplicationTitle = QStringLiteral("qxOrvantaTrainer");

enum class MsgIcon
{
    None = 0,
    Exclamation = 48,
};

struct MessageBoxRequest
{
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title;
};

// Shows a modal message box with a single OK button and returns when it is closed. An empty title
// shows the application's title. The box belongs to messageBoxOwner().
void MsgBox(const QString &text, MsgIcon icon = MsgIcon::None, const QString &title = QString());

// The window a message box belongs to: the active window, or else the most recently loaded window
// still on show (a window system may not have told the program yet which window is active).
QWidget *messageBoxOwner();

// Replaces how message boxes are shown (tests record them instead of blocking). An empty function
// restores the real message box. The handler receives the title already resolved.
using MessageBoxHandler = std::function<void(const MessageBoxRequest &)>;
void setMessageBoxHandler(MessageBoxHandler handler);

// Opens a document with the desktop's default viewer. Returns whether the request was handed on.
bool openDocument(const QString &path);
using DocumentOpener = std::function<bool(const QString &path)>;
void setDocumentOpener(DocumentOpener opener);

// Asks for a file to save to (a modal file dialog over parent) and returns the chosen path, empty when
// cancelled; *selectedFilter takes the chosen filter. Tests answer for the dialog.
QString chooseSaveFile(QWidget *parent, const QString &title, const QString &suggestedPath,
                       const QString &filters, QString *selectedFilter);
using FileChooser = std::function<QString(QWidget *parent, const QString &title, const QString &suggestedPath,
                                          const QString &filters, QString *selectedFilter)>;
// An empty function restores the real dialog.
void setFileChooser(FileChooser chooser);

} // namespace platform
