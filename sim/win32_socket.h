#pragma once
// Owners of Winsock's resources: the library's start-up and one socket.
#include <winsock2.h>

#include "winlib/handle_owner.h"

class WinsockSession {
public:
    WinsockSession()
    {
        WSADATA data{};
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockSession()
    {
        if (started_) WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

struct SocketCloser {
    void operator()(SOCKET socket) const { closesocket(socket); }
    static SOCKET Empty() { return INVALID_SOCKET; }
};

using UniqueSocket = HandleOwner<SOCKET, SocketCloser>;
