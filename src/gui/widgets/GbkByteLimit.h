#pragma once

#include <QString>
#include <QStringView>
#include <QValidator>

class QLineEdit;

namespace lendora {

// Holds what the clerk types into a box to a number of bytes in the GBK code page (a Chinese
// character takes two, a digit or Latin letter one). Typing or pasting past the limit keeps
// only as much of the new text as fits, cut between characters. Text the program puts into
// the box itself (a stored value, the next reader number) is never cut.
class GbkByteLimit : public QValidator {
    Q_OBJECT
public:
    static GbkByteLimit *attach(QLineEdit *box, int bytes);
    // Sets the box's text as the program's own, whole even when it is longer than the limit.
    static void setText(QLineEdit *box, const QString &text);
    static int bytes(QStringView text);

    int limit() const { return m_limit; }
    State validate(QString &input, int &pos) const override;

private:
    GbkByteLimit(QLineEdit *box, int bytes);

    int m_limit;
    QString m_before;  // the box's text before the edit being validated
    bool m_programText = false;
};

}  // namespace lendora
