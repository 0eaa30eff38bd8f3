#pragma once

#include <QDate>

namespace lendora {

class Prompter;
class SharedDatabase;

// What the clerk is told once the library is open, before anybody logs in.
class StartupChecks {
public:
    StartupChecks(SharedDatabase &database, Prompter &prompter)
        : m_database(database), m_prompter(prompter)
    {}

    // A clock set back would store returns before their lending and fines out of reason:
    // warns when today is earlier than the newest lending or return date stored.
    void clock(const QDate &today);
    // Names, in one message, the categories whose code the book windows cannot give a book.
    void categories();

private:
    SharedDatabase &m_database;
    Prompter &m_prompter;
};

}  // namespace lendora
