#pragma once

#include "platform/Form.h"

class StartupHost;
class QFont;
class QRectF;

namespace platform {
class CommandButton;
class Label;
class MultiLineTextBox;
class Shape;
} // namespace platform

// The agreement window, the program's start-up window. Its load step passes straight on to the
// splash window when the agreement was accepted in an earlier run; otherwise it shows the agreement
// until the user accepts (the flag is stored, the splash opens) or declines (the refusal is stored
// and the program ends). A close request from the window manager unloads it without storing.
class frmEULA : public platform::Form
{
    Q_OBJECT
public:
    explicit frmEULA(StartupHost &host, QWidget *parent = nullptr);

    void cmdAccept_Click();
    void cmdNotaccepted_Click();
    void Text1_KeyPress(int &keyAscii);

protected:
    void Form_Load() override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createBand();
    void createLabels();
    void createAgreementText();
    void createButtons();
    platform::Label *makeLabel(const QString &name, const QRectF &twips, const QFont &font,
                               const QString &caption);
    void applyTextColours();

    StartupHost &m_host;
    platform::CommandButton *cmdNotaccepted = nullptr;
    platform::CommandButton *cmdAccept = nullptr;
    platform::MultiLineTextBox *Text1 = nullptr;
    platform::Label *Label4 = nullptr;
    platform::Label *Label3 = nullptr;
    platform::Label *Label2 = nullptr;
    platform::Label *Label1 = nullptr;
    platform::Shape *Shape1 = nullptr;
};
