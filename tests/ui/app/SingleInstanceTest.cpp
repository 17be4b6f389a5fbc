// One running program: in-process activation, and a real second start that ends at once.
#include "app/SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using kalvintor::ui::SingleInstance;

TEST(SingleInstance, ASecondInstanceActivatesTheFirst) {
    QTemporaryDir dir;
    const QString name = dir.filePath("instance");
    SingleInstance first(name);
    ASSERT_FALSE(first.activateRunningInstance());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    SingleInstance second(name);
    EXPECT_TRUE(second.activateRunningInstance());
    EXPECT_TRUE(activated.count() == 1 || activated.wait(2000));
}

TEST(SingleInstance, AStaleSocketFileDoesNotBlockAStart) {
    QTemporaryDir dir;
    const QString name = dir.filePath("stale");
    QFile stale(name);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance instance(name);
    EXPECT_FALSE(instance.activateRunningInstance());
    SingleInstance second(name);
    EXPECT_TRUE(second.activateRunningInstance());
}

TEST(SingleInstance, TheProgramStartedTwiceEndsTheSecondStartAtOnce) {
    QTemporaryDir runtime;
    ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KALVINTOR_MACHINE_SETTINGS", runtime.filePath("machine.ini"));

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(KALVINTOR_EXECUTABLE, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    const QString socket = QDir(runtime.path()).filePath("TKalvintorMain");
    for (int i = 0; i < 300 && !QFile::exists(socket); ++i) QTest::qWait(50);
    ASSERT_TRUE(QFile::exists(socket)) << "the first start never listened";

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(KALVINTOR_EXECUTABLE, {});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(5000)) first.kill();
    first.waitForFinished(5000);
}
