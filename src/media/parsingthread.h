#pragma once

#include "media/workerthread.h"

class Demuxer;
class DemuxHost;

// The demux thread: runs the loop of its Demuxer, which alone reads the input while the
// thread runs. Ends when the playback is stopped or the input reports an I/O error.
class ParsingThread final : public WorkerThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParsingThread)

public:
    ParsingThread(Demuxer &demuxer, DemuxHost &host, QObject *parent);
    ~ParsingThread() override = default;

protected:
    void run() override;

private:
    Demuxer &demuxer;
    DemuxHost &host;
};
