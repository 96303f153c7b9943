#pragma once

#include <QObject>

#include <atomic>
#include <thread>

// Base of the engine's worker threads: runs run() on a std::thread and emits finished()
// from that thread as its last act. std::thread is used rather than QThread because its
// join is a real pthread join, which ThreadSanitizer sees; QThread's detached threads
// and futex-based wait are invisible to it. Lives in the GUI thread; start() and wait()
// are called from there.
class WorkerThread : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WorkerThread)

public:
    explicit WorkerThread(QObject *parent = nullptr);
    // Subclasses must be stopped and joined by their owner before destruction.
    ~WorkerThread() override;

    // Starts run() unless it is running; a thread that ended on its own is joined first.
    void start();
    // Joins the thread; returns at once when it is not started.
    void wait();
    bool isRunning() const { return running.load(std::memory_order_acquire); }

signals:
    void finished();

protected:
    virtual void run() = 0;
    static void msleep(int ms);

private:
    std::thread thread;
    std::atomic<bool> running{false};
};
