#include "media/parsingthread.h"

#include "media/demuxer.h"

ParsingThread::ParsingThread(Demuxer &d, DemuxHost &h, QObject *parent)
    : WorkerThread(parent), demuxer(d), host(h)
{}

void ParsingThread::run()
{
    demuxer.run(host);
}
