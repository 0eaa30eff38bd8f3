#pragma once

#include <QMetaType>
#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class ReaderWindow;
}

namespace lendora {

class WindowContext;
struct Reader;

// The reader window's view, chosen by whoever opens it.
enum class ReaderFormMode { Query = 0, Add = 1, Management = 2 };

// FrmReader: the reader register, in the view it was opened with.
class ReaderWindow : public QWidget {
    Q_OBJECT
public:
    // What the opener passes: the view, and in the add view the reader number to start with.
    struct Opening {
        ReaderFormMode mode = ReaderFormMode::Query;
        QString readerNumber;
    };

    ReaderWindow(WindowContext &context, const Opening &opening);
    ~ReaderWindow() override;

signals:
    // A reader was found and shown.
    void readerFound();
    // The clerk asked for the card of the reader shown.
    void cardAsked(const QString &number);
    // The clerk asked for the loan history of the reader shown.
    void historyAsked(const QString &number);

private:
    void showView(const Opening &opening);
    void find();
    void previous();
    void next();
    void add();
    void change();
    void remove();
    void showHistory();
    // The reader the boxes show as stored: found, or just added. Empty while they show none.
    void setShownReader(const QString &number);

    Reader boxes() const;
    void showReader(const Reader &reader);  // the four boxes after the number
    void clearBoxes();
    void hint(const QString &text);

    WindowContext &m_context;
    std::unique_ptr<Ui::ReaderWindow> m_ui;
    QString m_shownReader;
};

}  // namespace lendora
