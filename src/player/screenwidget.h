#pragma once

#include <QWidget>

// The idle screen shown over the picture while no file is open: black, with the
// product picture and an open button in the middle. Reports a press on the button and
// a left double click anywhere. Owns nothing; GUI thread only.
class QScreenWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QScreenWidget)

public:
    explicit QScreenWidget(QWidget *parent = nullptr);

signals:
    void click();
    void doubleClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
