#pragma once

#include <QLabel>
#include <QPixmap>

// A picture that acts as a button: normal, highlighted under the pointer, pressed; a click is a
// release over the picture after a press on it.
class TPictureButton : public QLabel
{
    Q_OBJECT
public:
    TPictureButton(const QString &normal, const QString &highlight, const QString &down,
                   QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_normal, m_highlight, m_down;
    bool m_pressed = false;
};
