#pragma once

#include "data/Backend.h"

#include <QString>
#include <memory>

namespace lendora {

// Where a library is and the engine that serves it. The desk and lendora-cli both decide it
// here, and nothing outside src/data names an engine.
class LibraryLocation {
public:
    // How the library will be used, which decides how its engine is set up.
    enum class Use {
        Desk,        // the desk's own: a missing file is created; after an unclean end the
                     // whole-file check runs beside the desk where it can
        Tool,        // a tool: the library must be there already and is never created
        BesideDesk,  // a tool that writes while a desk runs on the same file
    };
    enum class Fault {
        None,
        BadAddress,  // the server's address cannot be read
        Missing,     // no file where the library should be (Tool and BesideDesk only)
        NotLibrary,  // a file that is not this program's library
    };

    // The library of the program folder `appDir`: the server `database` names (--database),
    // else the one the folder's setting.ini names (Database=), else the folder's own file.
    static LibraryLocation find(const QString &appDir, const QString &database, Use use);
    // The folder's own file, whatever the settings name.
    static LibraryLocation inFolder(const QString &appDir, Use use);
    // The file at `path`: a library, or a backup of one.
    static LibraryLocation ofFile(const QString &path, Use use);
    // The library on the server `url` names.
    static LibraryLocation onServer(const QString &url);

    // The folder's own file: <appDir>/mdb/Lendora.mdb.
    static QString fileIn(const QString &appDir);

    LibraryLocation(LibraryLocation &&) noexcept = default;
    LibraryLocation &operator=(LibraryLocation &&) noexcept = default;
    ~LibraryLocation();

    bool found() const { return m_fault == Fault::None; }
    Fault fault() const { return m_fault; }
    // Why it was not found, in the clerk's words.
    QString problem() const { return m_problem; }
    bool isServer() const { return m_server; }
    // The file, when the library is one (also when it is missing or not a library).
    QString filePath() const { return m_path; }
    // The engine to open it with; null when not found, or taken already.
    std::unique_ptr<Backend> take() { return std::move(m_backend); }

private:
    LibraryLocation() = default;
    static LibraryLocation failed(Fault fault, QString problem, QString path = {});

    Fault m_fault = Fault::None;
    QString m_problem;
    QString m_path;
    bool m_server = false;
    std::unique_ptr<Backend> m_backend;
};

}  // namespace lendora
