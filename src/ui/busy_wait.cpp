#include "ui/busy_wait.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

bool BusyWait::run(QWidget* owner, const QString& text, const QString& cancelText,
                   std::function<void()> work)
{
    QThread* thread = QThread::create(std::move(work));
    // Whoever stops waiting, the thread's object goes once its work is done.
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    QProgressDialog busy(text, cancelText, 0, 0, owner);
    busy.setObjectName(QStringLiteral("frmBusy"));
    busy.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    busy.setWindowTitle(owner ? owner->windowTitle() : QString());
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setAutoClose(false);
    busy.setAutoReset(false);
    busy.setMinimumDuration(0);

    bool finished = false;
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QObject::connect(&busy, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    thread->start();
    busy.show();
    // The program's end leaves this loop too.
    loop.exec();
    return finished;
}
