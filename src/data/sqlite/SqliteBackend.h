#pragma once

#include "data/Backend.h"
#include "data/sqlite/DatabaseFile.h"

#include <optional>

namespace lendora {

// The embedded library: one SQLite file (mdb/Lendora.mdb) in write-ahead-log mode, written
// with synchronous=FULL, waiting up to five seconds for another writer.
class SqliteBackend : public Backend {
public:
    enum class Mode {
        Desk,        // the desk's own: creates, upgrades, keeps the in-use marker, checkpoints
        BesideDesk,  // a writer beside a running desk: the desk's marker and its checkpoints
                     // stay the desk's alone, so the file changes only where its marker says
    };
    explicit SqliteBackend(QString path, Mode mode = Mode::Desk);

    QString path() const { return m_path; }

    // After a run that did not end cleanly, open() leaves the whole-file check to run beside
    // the desk (Opened::check) where opening writes nothing: the file is in log mode and
    // needs no upgrade. Otherwise it checks first, as without this.
    void setCheckInBackground(bool on) { m_checkInBackground = on; }
    // Whether open() will leave the check to run beside the desk.
    bool checksInBackground() const;
    // The checks after an unclean end, on a read-only connection of its own made on the
    // calling thread: empty when the file passed, else what was found.
    // `stop`, when given, can interrupt it from another thread.
    struct CheckStop;
    static QString checkWholeFile(const QString &path, CheckStop *stop = nullptr);

    QString location() const override;
    bool checksBeforeOpening() const override;
    bool upgradesOnOpening() const override;
    Opened open(const QString &connectionName) override;
    void checkEnded(bool passed) override;
    void close(const QString &connectionName) override;
    bool openReadOnly(const QString &connectionName, DbError *error) override;
    QString checkLibrary(QSqlDatabase &db, DbError *error) const override;
    bool create(QString *error) override;

    SqlCondition exact(const QString &column, const QString &text) const override;
    SqlCondition partial(const QString &column, const QString &text) const override;
    std::optional<qint64> candidates(const QSqlDatabase &db, const QString &column,
                                     const QString &text, bool partialMatch,
                                     qint64 atMost) const override;
    SqlCondition matchEach(const QString &column, const QString &text, bool partialMatch,
                           const QString &driverKey) const override;
    SqlCondition matchAmong(const QString &column, const QString &text, bool partialMatch,
                            const QString &foreignKey, const QString &key,
                            bool findThrough) const override;
    qint64 rowsAbout(const QSqlDatabase &db, const QString &table) const override;

    bool beginWrite(QSqlDatabase &db, DbError *error) override;
    QString lockRows(const QString &table, const QString &condition) const override;
    QString firstRowOnly(const QString &table) const override;
    QString rowKey(const QString &table) const override;
    Copier copier() const override;
    bool isLibrary(const QString &path) const override;
    QString integrityCheck() const override { return QStringLiteral("PRAGMA integrity_check"); }
    bool copyTo(QSqlDatabase &db, const QString &path, DbError *error) override;
    bool restoreFrom(QSqlDatabase &db, const QString &source, QString *notice,
                     DbError *error) override;

    DbError classify(const QSqlError &error) const override;

    bool reopen(const QString &connectionName, DbError *error) override;
    bool settle(QSqlDatabase &db, DbError *error) override;
    void afterCommit(QSqlDatabase &db) override;
    DbError checkUnchanged() const override;

private:
    // Whether the last run on the file did not end cleanly: its marker is still there.
    bool endedUncleanly() const;
    // Empty, or the clerk's message when a log beside the file could not be set aside;
    // `notice` tells the clerk what was set aside.
    QString guardLog(QString *notice) const;
    // A copy in backup/ before the schema is upgraded; when none could be made, `notice`
    // says so and the upgrade goes on.
    void backUpBeforeUpgrade(QString *notice) const;
    // Runs a checkpoint, the marker saying meanwhile that the file changes.
    bool checkpoint(QSqlDatabase &db, const QString &mode, DbError *error);
    // Records the file as it is now, after the desk itself changed it.
    void markRunning();

    Opened openBesideDesk(const QString &connectionName);

    QString m_path;
    Mode m_mode;
    bool m_checkInBackground = false;
    bool m_pairs = true;       // the file holds the index of characters and pairs
    bool m_checkOwed = false;  // opened after an unclean end, the check not yet passed
    std::optional<DatabaseFile::Identity> m_opened;
};

}  // namespace lendora
