#include "support/RadicaleServer.h"

#include <QtTest>

// Placeholder so the server harness builds; replaced by the sync tests.
class TestSyncServer : public QObject {
    Q_OBJECT
private slots:
    void starts() {
        RadicaleServer server;
        QM_START_RADICALE(server, true);
        QString why;
        QVERIFY2(server.makeCollections(why), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestSyncServer)
#include "tst_syncserver.moc"
