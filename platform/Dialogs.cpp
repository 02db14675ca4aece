#include "Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace platform {

static MessageBoxHandler &messageBoxHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

static DocumentOpener &documentOpener()
{
    static DocumentOpener opener;
    return opener;
}

void MsgBox(const QString &text, MsgIcon icon, const QString &title)
{
    const MessageBoxRequest request{text, icon, title.isEmpty() ? kApplicationTitle : title};
    if (messageBoxHandler()) {
        messageBoxHandler()(request);
        return;
    }
    QMessageBox box(request.icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    request.title, request.text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void setMessageBoxHandler(MessageBoxHandler handler)
{
    messageBoxHandler() = std::move(handler);
}

bool openDocument(const QString &path)
{
    if (documentOpener())
        return documentOpener()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setDocumentOpener(DocumentOpener opener)
{
    documentOpener() = std::move(opener);
}

} // namespace platform
