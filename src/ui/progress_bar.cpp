#include "ui/progress_bar.h"

#include <QPointer>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace slp::ui {

int progressStep(int total) {
    return std::max(1, total / 200);
}

ProgressCallback progressBar(QWidget* parent, const QString& label, const QString& title) {
    auto* dialog = new QProgressDialog(label, u"取消"_s, 0, 1, parent);
    dialog->setObjectName(u"workProgress"_s);
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(500);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    // Deleted with the last copy of the callback, or with its parent before that.
    const std::shared_ptr<QPointer<QProgressDialog>> bar(new QPointer<QProgressDialog>(dialog),
                                                         [](QPointer<QProgressDialog>* p) {
                                                             delete p->data();
                                                             delete p;
                                                         });
    return [bar](int done, int total) {
        QProgressDialog* dialog = bar->data();
        if (!dialog) return true;
        if (done == total || done % progressStep(total) == 0) {
            dialog->setMaximum(std::max(total, 1));
            dialog->setValue(std::min(done, std::max(total, 1)));
        }
        return !dialog->wasCanceled();
    };
}

}  // namespace slp::ui
