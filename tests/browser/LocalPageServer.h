// SPDX-License-Identifier: MIT
#pragma once
// A tiny web server on 127.0.0.1 for tests: answers every GET with the page registered for its
// path, or 404, and closes the connection. Requests for a path put on hold wait unanswered
// until the test lets them through, as from a server that stalls.
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <utility>

namespace quillmark::test {

class LocalPageServer : public QObject {
public:
    LocalPageServer() {
        connect(&server_, &QTcpServer::newConnection, this, &LocalPageServer::accept);
    }

    bool start() { return server_.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return server_.serverPort(); }
    QString address(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    void addPage(const QString& path, const QString& title, const QString& body = {}) {
        pages_.insert(path, QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head>"
                                           "<body><h1>%1</h1>%2</body></html>")
                                .arg(title, body)
                                .toUtf8());
    }

    void hold(const QString& path) { held_.insert(path, {}); }
    void answerHeld() {
        const auto held = std::exchange(held_, {});
        for (auto waiting = held.begin(); waiting != held.end(); ++waiting) {
            for (QTcpSocket* socket : waiting.value()) {
                if (socket) reply(socket, waiting.key());
            }
        }
    }

    QStringList requested;  // request paths in arrival order

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        buffers_.remove(socket);
        const QString path =
            requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
        requested << path;
        if (const auto waiting = held_.find(path); waiting != held_.end()) {
            waiting->append(socket);
            return;
        }
        reply(socket, path);
    }

    void reply(QTcpSocket* socket, const QString& path) {
        const auto page = pages_.constFind(path);
        const bool found = page != pages_.constEnd();
        const QByteArray body =
            found ? *page : QByteArrayLiteral("<html><title>Not found</title></html>");
        socket->write(
            (found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
            QByteArrayLiteral("Content-Type: text/html; charset=utf-8\r\nContent-Length: ") +
            QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QString, QByteArray> pages_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    QHash<QString, QList<QPointer<QTcpSocket>>> held_;
};

}  // namespace quillmark::test
