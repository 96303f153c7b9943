#include "media/packetqueue.h"

#include <QTest>

#include <atomic>
#include <thread>

namespace {

media::PacketPtr packetOfSize(int size, int64_t pts)
{
    media::PacketPtr pkt = media::allocPacket();
    if (av_new_packet(pkt.get(), size) < 0)
        qFatal("av_new_packet failed");
    memset(pkt->data, 0x5a, size_t(size));
    pkt->pts = pkt->dts = pts;
    return pkt;
}

} // namespace

class TestPacketQueue : public QObject
{
    Q_OBJECT
private slots:
    void nonBlockingGetOnEmptyLeavesOutputUntouched();
    void keepsOrderCountsBytesAndOwnsPayload();
    void flushLeavesExactlyOneFlushPacket();
    void flushPacketSurvivesRelease();
    void blockingGetIsReleased_data();
    void blockingGetIsReleased();
};

void TestPacketQueue::nonBlockingGetOnEmptyLeavesOutputUntouched()
{
    PacketQueue q;
    media::PacketPtr out = media::allocPacket();
    out->pts = 1234;
    QVERIFY(!q.get(out.get(), false));
    QCOMPARE(out->pts, int64_t(1234));
    QVERIFY(!out->data);
    QCOMPARE(q.byteSize(), 0);
}

void TestPacketQueue::keepsOrderCountsBytesAndOwnsPayload()
{
    PacketQueue q;
    for (int i = 1; i <= 3; ++i) {
        media::PacketPtr pkt = packetOfSize(10 * i, i);
        QVERIFY(q.put(pkt.get()));
        // the caller's packet is released at once; the queue keeps its own reference
    }
    QCOMPARE(q.byteSize(), 60);
    QCOMPARE(q.packetCount(), 3);

    media::PacketPtr out = media::allocPacket();
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(q.get(out.get(), false));
        QCOMPARE(out->pts, int64_t(i));
        QCOMPARE(out->size, 10 * i);
        QCOMPARE(out->data[out->size - 1], uint8_t(0x5a));
        QVERIFY(!PacketQueue::isFlushPacket(out.get()));
        av_packet_unref(out.get());
    }
    QCOMPARE(q.byteSize(), 0);
    QCOMPARE(q.packetCount(), 0);
}

void TestPacketQueue::flushLeavesExactlyOneFlushPacket()
{
    PacketQueue q;
    for (int i = 0; i < 5; ++i)
        QVERIFY(q.put(packetOfSize(100, i).get()));
    q.flush();
    QCOMPARE(q.packetCount(), 1);
    QCOMPARE(q.byteSize(), 0);

    // two seeks in a row: two flush packets, each seen once; a seek's flush packet
    // carries its target and picture serial
    q.flush(1234, 7);
    q.put(PacketQueue::flushPacket());
    QCOMPARE(q.packetCount(), 2);
    media::PacketPtr out = media::allocPacket();
    QVERIFY(q.get(out.get(), false));
    QVERIFY(PacketQueue::isFlushPacket(out.get()));
    QCOMPARE(out->size, 0);
    QCOMPARE(out->pts, int64_t(1234));
    QCOMPARE(out->pos, int64_t(7));
    av_packet_unref(out.get());
    QVERIFY(q.get(out.get(), false));
    QVERIFY(PacketQueue::isFlushPacket(out.get()));
    av_packet_unref(out.get());
    QVERIFY(!q.get(out.get(), false));
}

void TestPacketQueue::flushPacketSurvivesRelease()
{
    PacketQueue q;
    for (int round = 0; round < 3; ++round) {
        q.flush();
        media::PacketPtr out = media::allocPacket();
        QVERIFY(q.get(out.get(), false));
        QVERIFY(PacketQueue::isFlushPacket(out.get()));
        av_packet_unref(out.get()); // frees nothing
    }
    QCOMPARE(PacketQueue::flushPacket()->data[0], uint8_t('F'));
    // an ordinary empty packet is not the flush packet
    media::PacketPtr empty = media::allocPacket();
    QVERIFY(!PacketQueue::isFlushPacket(empty.get()));
}

void TestPacketQueue::blockingGetIsReleased_data()
{
    QTest::addColumn<QString>("release");
    QTest::addColumn<bool>("expectPacket");
    QTest::newRow("put") << QStringLiteral("put") << true;
    QTest::newRow("flush") << QStringLiteral("flush") << true;
    QTest::newRow("cancel") << QStringLiteral("cancel") << false;
}

void TestPacketQueue::blockingGetIsReleased()
{
    QFETCH(QString, release);
    QFETCH(bool, expectPacket);

    PacketQueue q;
    std::atomic<bool> cancel{false};
    std::atomic<bool> entered{false};
    std::atomic<int> result{-1};
    std::atomic<bool> gotFlush{false};
    std::thread reader([&] {
        media::PacketPtr out = media::allocPacket();
        entered = true;
        const bool ok = q.get(out.get(), true, &cancel);
        gotFlush = PacketQueue::isFlushPacket(out.get());
        av_packet_unref(out.get());
        result = ok ? 1 : 0;
    });
    QTRY_VERIFY(entered.load());
    // still blocked on the empty queue
    QVERIFY(!QTest::qWaitFor([&] { return result.load() != -1; }, 50));

    if (release == QLatin1String("put")) {
        q.put(packetOfSize(8, 1).get());
    } else if (release == QLatin1String("flush")) {
        q.flush();
    } else {
        cancel = true;
        q.wakeAll();
    }
    reader.join();
    QCOMPARE(result.load(), expectPacket ? 1 : 0);
    QCOMPARE(gotFlush.load(), release == QLatin1String("flush"));
}

QTEST_GUILESS_MAIN(TestPacketQueue)
#include "tst_packetqueue.moc"
