#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests (Windows, Winsock). It listens on an ephemeral port
// from construction to destruction, answers each connection on its own thread, records every
// request byte for byte and answers what the test scripted for the request's path. It also stands in
// for a proxy: an absolute-form request line ("GET http://host:port/path HTTP/1.1") is recorded as it
// came and answered from the same script by its path; a CONNECT request is recorded and answered with
// `connectAnswer` (by default 502, so an HTTPS exchange through it ends there).
//
//   LoopbackServer server;
//   server.Serve("/page", Answer::Ok("<html>...</html>"));
//   server.Serve("/gz", Answer::Ok(Compress(text, Wrapping::Gzip)).With("Content-Encoding: gzip"));
//   ... request server.Address("/page") ...
//   RecordedRequest r = server.LastRequest();   // r.requestLine, r.headers, r.body
//
// Every answer is sent and the connection closed; the recording of a request is complete before its
// answer starts, so it can be read as soon as the client has the answer.
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "text/Param.h"

struct Answer {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::string> headerLines;  // sent as given, each followed by CR LF, in this order
  std::string body;                      // any bytes
  // Adds "Content-Length: <body size>" and "Connection: close" after headerLines.
  bool autoHeaders = true;
  // Sends only this many body bytes and then closes (the declared length stays the full size).
  size_t cutBodyAfter = std::string::npos;
  // Closes the connection after reading the request, without a byte of answer.
  bool closeWithoutAnswer = false;
  // A slow answer: waits this long before the status line, then sends the body in pieces of
  // `pieceSize` bytes with `pieceDelayMs` between them (0: the body at once).
  int delayMs = 0;
  size_t pieceSize = 0;
  int pieceDelayMs = 0;

  static Answer Ok(std::string body, std::string contentType = "text/html; charset=utf-8");
  static Answer Ok(const Bytes& body, std::string contentType = "application/octet-stream");
  static Answer Status(int status, std::string reason, std::string body = {});
  static Answer Redirect(int status, std::string location, std::string body = {});
  // Adds one raw header line (without CR LF); returns the answer for chaining.
  Answer& With(std::string headerLine);
};

struct RecordedRequest {
  std::string requestLine;  // without its CR LF
  std::string method;       // first word of the request line
  std::string target;       // second word, exactly as sent (origin-form, absolute-form or host:port)
  std::string path;         // target reduced to path and query ("/" at least); empty for CONNECT
  std::string headers;      // the header lines exactly as received, each ending in CR LF
  std::string body;         // by Content-Length
  std::string raw;          // request line, headers, blank line and body as received

  // Value of the first header of that name (ASCII case ignored), trimmed; empty when missing.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

class LoopbackServer {
public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool Running() const { return listener_ != kNoSocket; }
  unsigned short Port() const { return port_; }
  // "127.0.0.1:PORT", the form a proxy setting takes.
  std::string HostPort() const;
  // "http://127.0.0.1:PORT" followed by path.
  std::string Address(const std::string& path = "/") const;

  // Scripts the answer for a path (with query, exactly as requested). Unscripted paths get 404.
  void Serve(const std::string& path, Answer answer);
  void ServeDefault(Answer answer);
  // The answer to CONNECT requests.
  void ServeConnect(Answer answer);

  std::vector<RecordedRequest> Requests() const;
  RecordedRequest LastRequest() const;  // empty record when none arrived
  size_t RequestCount() const;
  void ClearRequests();

private:
  using Socket = unsigned long long;  // SOCKET without <winsock2.h> in every test
  static constexpr Socket kNoSocket = ~0ull;

  void AcceptLoop();
  void HandleConnection(Socket connection);
  bool Pause(int ms);  // false when the server is stopping
  bool Stopping() const;

  Socket listener_ = kNoSocket;
  unsigned short port_ = 0;
  std::thread acceptThread_;
  mutable std::mutex mutex_;
  std::condition_variable stopping_;
  bool stop_ = false;
  std::vector<std::thread> workers_;
  std::vector<Socket> open_;
  std::map<std::string, Answer> script_;
  Answer default_;
  Answer connect_;
  std::vector<RecordedRequest> requests_;
};
