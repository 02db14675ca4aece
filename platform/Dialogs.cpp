#include "Dialogs.h"

#include "Form.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

namespace platform {

static MessageBoxHandler &messageBoxHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

static FileChooser &fileChooser()
{
    static FileChooser chooser;
    return chooser;
}

static DocumentOpener &documentOpener()
{
    static DocumentOpener opener;
    return opener;
}

QWidget *messageBoxOwner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const QList<Form *> forms = FormRegistry::loadedForms();
    for (auto form = forms.crbegin(); form != forms.crend(); ++form) {
        if ((*form)->isVisible() && !(*form)->isUnloaded())
            return *form;
    }
    return nullptr;
}

void MsgBox(const QString &text, MsgIcon icon, const QString &title)
{
    const MessageBoxRequest request{text, icon, title.isEmpty() ? kApplicationTitle : title};
    if (messageBoxHandler()) {
        messageBoxHandler()(request);
        return;
    }
    // The box is transient for its owner, so the window system places it over that window (the
    // only placement a Wayland compositor leaves to the program). The owner may be discarded while
    // the box is open and take its child with it, so the box is held weakly.
    QPointer<QMessageBox> box =
        new QMessageBox(request.icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                        request.title, request.text, QMessageBox::Ok, messageBoxOwner());
    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
    delete box.data();
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

QString chooseSaveFile(QWidget *parent, const QString &title, const QString &suggestedPath,
                       const QString &filters, QString *selectedFilter)
{
    if (fileChooser())
        return fileChooser()(parent, title, suggestedPath, filters, selectedFilter);
    return QFileDialog::getSaveFileName(parent, title, suggestedPath, filters, selectedFilter);
}

void setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

} // namespace platform
