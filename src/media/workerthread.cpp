#include "media/workerthread.h"

#include <chrono>

WorkerThread::WorkerThread(QObject *parent) : QObject(parent) {}

WorkerThread::~WorkerThread()
{
    Q_ASSERT(!thread.joinable());
}

void WorkerThread::start()
{
    if (isRunning())
        return;
    if (thread.joinable())
        thread.join();
    running.store(true, std::memory_order_release);
    thread = std::thread([this] {
        run();
        running.store(false, std::memory_order_release);
        emit finished();
    });
}

void WorkerThread::wait()
{
    if (thread.joinable())
        thread.join();
}

void WorkerThread::msleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
