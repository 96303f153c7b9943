#pragma once

#include <QObject>

struct VideoPicture;

// What a picture view needs of a playing lesson: a signal that a picture is due now, the
// picture itself while it is handed out, and the display aspect ratio. GUI thread only.
class PictureSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The picture of the ring slot id, valid from frameReady(id) until the next one.
    virtual VideoPicture *picture(int id) = 0;
    virtual float videoAspectRatio() const = 0;

signals:
    void frameReady(int id);
};
