#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// The idle screen shown over the picture while no file is open: black, with the
// product picture and an open button in the middle. Reports a press on the button and
// a left double click anywhere. A lesson without pictures shows here too: its cover
// art, or its name on a calm panel, with no open button. GUI thread only.
class QScreenWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QScreenWidget)

public:
    explicit QScreenWidget(QWidget *parent = nullptr);

    // The idle screen with its open button.
    void showIdle();
    // A lesson without video: cover scaled to fit, or, when null, name.
    void showLesson(const QString &name, const QImage &cover);
    bool showsLesson() const { return lesson; }

signals:
    void click();
    void doubleClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool lesson = false;
    QString lessonName;
    QImage lessonCover;
};
