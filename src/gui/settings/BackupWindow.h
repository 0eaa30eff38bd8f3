#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class BackupWindow;
}

namespace lendora {

class BackgroundCopy;
class WindowContext;

// FrmBackup: copies of the library made now (to backup/ or a place the clerk picks), the
// copies kept, and the way back from one.
class BackupWindow : public QWidget {
    Q_OBJECT
public:
    explicit BackupWindow(WindowContext &context);
    ~BackupWindow() override;

signals:
    // The library now holds a restored copy: every window shows it afresh.
    void restored();

private:
    void backUp(const QString &target);
    void copyFinished(bool ok, const QString &target, const QString &error);
    void restore();
    void listCopies();

    WindowContext &m_context;
    std::unique_ptr<Ui::BackupWindow> m_ui;
    BackgroundCopy *m_copy;  // the desk's one
    QString m_target;        // this window's copy under way
};

}  // namespace lendora
