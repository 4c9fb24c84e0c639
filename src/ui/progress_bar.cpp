#include "ui/progress_bar.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace slp::ui {

int progressStep(int total) {
    return std::max(1, total / 200);
}

namespace {

// The bar of one piece of work: made once the work has gone on for its time, gone when the work is done
// or when the last copy of the callback goes.
struct WorkBar {
    QPointer<QWidget> parent;
    bool hadParent = false;  // a window gone since: the work goes on without a bar
    QString label;
    QString title;
    int showAfterMs = 0;
    QElapsedTimer clock;
    QPointer<QProgressDialog> dialog;
    bool canceled = false;

    ~WorkBar() { close(); }

    void close() {
        if (!dialog) return;
        canceled = canceled || dialog->wasCanceled();
        dialog->hide();
        delete dialog.data();
    }

    void open() {
        auto* d = new QProgressDialog(label, u"取消"_s, 0, 1, parent);
        d->setObjectName(u"workProgress"_s);
        d->setWindowTitle(title);
        d->setWindowModality(Qt::WindowModal);
        // Shown at once: the time it waits for is over. Never shown again by a timer of its own, nor
        // closed or reset by it: the work says when it is done.
        d->setMinimumDuration(0);
        d->setAutoClose(false);
        d->setAutoReset(false);
        dialog = d;
    }
};

}  // namespace

ProgressCallback progressBar(QWidget* parent, const QString& label, const QString& title, int showAfterMs) {
    auto bar = std::make_shared<WorkBar>();
    bar->parent = parent;
    bar->hadParent = parent != nullptr;
    bar->label = label;
    bar->title = title;
    bar->showAfterMs = showAfterMs;
    return [bar](int done, int total) {
        if (!bar->clock.isValid()) bar->clock.start();
        // The work is done: the bar goes before the result is said.
        if (done >= total) {
            bar->close();
            return !bar->canceled;
        }
        if (!bar->dialog && !bar->canceled && bar->clock.elapsed() >= bar->showAfterMs &&
            (bar->parent || !bar->hadParent)) {
            bar->open();
        }
        QProgressDialog* dialog = bar->dialog.data();
        if (!dialog) return !bar->canceled;
        if (done % progressStep(total) == 0 || dialog->value() < 0) {
            dialog->setMaximum(std::max(total, 1));
            dialog->setValue(std::clamp(done, 0, std::max(total, 1)));
        }
        return !dialog->wasCanceled();
    };
}

}  // namespace slp::ui
