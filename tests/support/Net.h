// Test support: raw TCP on 127.0.0.1 only, with deadlines on every call.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <string>

namespace testsupport {

inline sockaddr_in Loopback(int port) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons((unsigned short)port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A port that was free a moment ago.
inline int FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof(a);
    bind(s, reinterpret_cast<sockaddr*>(&a), len);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
}

// A connected socket with send and receive deadlines, or -1.
inline int Connect(int port, int timeoutMs = 5000) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    timeval tv = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv));
    sockaddr_in a = Loopback(port);
    if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0) return s;
    close(s);
    return -1;
}

// Reads until the peer closes (or the deadline); *closed tells which.
inline std::string ReadAll(int s, bool* closed = nullptr) {
    std::string out;
    char buf[8192];
    ssize_t n;
    while ((n = recv(s, buf, sizeof(buf), 0)) > 0) out.append(buf, n);
    if (closed) *closed = n == 0;
    return out;
}

// Sends the request and reads the whole answer; *closed is false when the
// server neither answered nor closed in time.
inline std::string Request(int port, const std::string& request, bool* closed = nullptr) {
    int s = Connect(port);
    if (s < 0) {
        if (closed) *closed = false;
        return "<no connection>";
    }
    send(s, request.data(), request.size(), MSG_NOSIGNAL);
    std::string out = ReadAll(s, closed);
    close(s);
    return out;
}

inline bool Answers(int port) {
    int s = Connect(port, 500);
    return s >= 0 && close(s) == 0;
}

}  // namespace testsupport
