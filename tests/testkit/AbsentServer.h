#pragma once

#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lendora::testkit {

// The address of a database server that stays away: a port nothing listens on, which refuses
// the connection at once, or a socket that takes the connection and never says a word.
class AbsentServer {
public:
    enum class Kind { Refuses, NeverAnswers };

    explicit AbsentServer(Kind kind)
    {
        // The kernel completes a connection to a listening socket whether or not anybody
        // accepts it: the client then waits for an answer that never comes.
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(m_socket, 16) != 0
            || ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        if (kind == Kind::Refuses)
            close();
    }
    ~AbsentServer() { close(); }
    AbsentServer(const AbsentServer &) = delete;
    AbsentServer &operator=(const AbsentServer &) = delete;

    bool isReady() const { return m_port != 0; }
    QString url() const
    {
        return QStringLiteral("postgresql://lendora@127.0.0.1:%1/library").arg(m_port);
    }

private:
    void close()
    {
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = -1;
    }

    int m_socket = -1;
    int m_port = 0;
};

}  // namespace lendora::testkit
