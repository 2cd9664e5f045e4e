// SPDX-License-Identifier: MIT
#pragma once
// A tiny web server on 127.0.0.1 for tests: answers every GET with the page registered for its
// path, or 404, and closes the connection.
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace quillmark::test {

class LocalPageServer : public QObject {
public:
    LocalPageServer() {
        connect(&mServer, &QTcpServer::newConnection, this, &LocalPageServer::accept);
    }

    bool start() { return mServer.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return mServer.serverPort(); }
    QString address(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    void addPage(const QString& path, const QString& title, const QString& body = {}) {
        mPages.insert(path, QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head>"
                                           "<body><h1>%1</h1>%2</body></html>")
                                .arg(title, body)
                                .toUtf8());
    }

    QStringList requested;  // request paths in arrival order

private:
    void accept() {
        while (QTcpSocket* socket = mServer.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket* socket) {
        QByteArray& buffer = mBuffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        mBuffers.remove(socket);
        const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
        requested << path;
        const auto page = mPages.constFind(path);
        const bool found = page != mPages.constEnd();
        const QByteArray body = found ? *page : QByteArrayLiteral("<html><title>Not found</title></html>");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                      QByteArrayLiteral("Content-Type: text/html; charset=utf-8\r\nContent-Length: ") +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer mServer;
    QHash<QString, QByteArray> mPages;
    QHash<QTcpSocket*, QByteArray> mBuffers;
};

}  // namespace quillmark::test
