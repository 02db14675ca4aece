#pragma once

#include "platform/Form.h"
#include "platform/Picture.h"

class StartupHost;

namespace platform {
class PictureBox;
}

// The splash window: a borderless picture without a taskbar button, cut to the outline of its
// picture, that waits for a click and then hands over to the login window. It cannot be moved and
// has no timer.
class frmSplash : public platform::Form
{
    Q_OBJECT
public:
    explicit frmSplash(StartupHost &host, QWidget *parent = nullptr);

protected:
    void Form_Load() override;
    void Form_Click() override;
    void paintEvent(QPaintEvent *event) override;
    // Enter, the keypad's Enter and Space continue as a click does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    StartupHost &m_host;
    platform::Picture m_picture;
    // Source of the window's outline only: hidden, sized to its picture, never shown.
    platform::PictureBox *picbox2 = nullptr;
};
