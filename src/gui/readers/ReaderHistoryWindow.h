#pragma once

#include "core/circulation/LoanHistory.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class ReaderHistoryWindow;
}

namespace lendora {

class WindowContext;
class TextRows;

// FrmReaderHistory: every loan of one reader, open and returned, with the fines paid. Opened
// from the reader window for the reader it shows; the reader number is what it is opened with.
class ReaderHistoryWindow : public QWidget {
    Q_OBJECT
public:
    ReaderHistoryWindow(WindowContext &context, const QString &readerId);
    ~ReaderHistoryWindow() override;

private:
    void find();
    void print();

    WindowContext &m_context;
    std::unique_ptr<Ui::ReaderHistoryWindow> m_ui;
    TextRows *m_rows;
    QString m_readerId;
    QString m_readerName;
    QList<LoanHistory::Entry> m_listed;  // what the grid lists, for the printout
};

}  // namespace lendora
