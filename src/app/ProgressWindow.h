#pragma once

#include "gui/widgets/Progress.h"

#include <QCoreApplication>

namespace lendora {

// The real progress seam: while work runs, a small window over the window it is for
// (FrmProgress) says what it is doing, shows a bar of how far it has got, and offers 取消;
// closing either window cancels the work.
class ProgressWindow : public Progress {
    Q_DECLARE_TR_FUNCTIONS(ProgressWindow)

public:
    void run(QWidget *owner, const QString &title, Work work, Ended ended) override;
};

}  // namespace lendora
