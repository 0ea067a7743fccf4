#include "tests/support/LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace {

constexpr size_t kHeaderLimit = 1 << 20;
constexpr int kDrainMs = 2000;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool SendAll(SOCKET s, const char* data, size_t size) {
  while (size > 0) {
    int n = send(s, data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::string PathOfTarget(const std::string& method, const std::string& target) {
  if (method == "CONNECT") return {};
  size_t scheme = target.find("://");
  if (scheme == std::string::npos) return target.empty() ? "/" : target;
  size_t slash = target.find('/', scheme + 3);
  return slash == std::string::npos ? "/" : target.substr(slash);
}

}  // namespace

Answer Answer::Ok(std::string body, std::string contentType) {
  Answer a;
  a.body = std::move(body);
  a.headerLines.push_back("Content-Type: " + contentType);
  return a;
}

Answer Answer::Ok(const Bytes& body, std::string contentType) {
  return Ok(std::string(body.begin(), body.end()), std::move(contentType));
}

Answer Answer::Status(int status, std::string reason, std::string body) {
  Answer a;
  a.status = status;
  a.reason = std::move(reason);
  a.body = std::move(body);
  return a;
}

Answer Answer::Redirect(int status, std::string location, std::string body) {
  Answer a = Status(status, status == 301 ? "Moved Permanently" : "Found", std::move(body));
  a.headerLines.push_back("Location: " + location);
  return a;
}

Answer& Answer::With(std::string headerLine) {
  headerLines.push_back(std::move(headerLine));
  return *this;
}

std::string RecordedRequest::Header(const std::string& name) const {
  const std::string wanted = Lower(name) + ":";
  size_t start = 0;
  while (start < headers.size()) {
    size_t end = headers.find("\r\n", start);
    if (end == std::string::npos) end = headers.size();
    std::string line = headers.substr(start, end - start);
    if (Lower(line.substr(0, wanted.size())) == wanted) return Trim(line.substr(wanted.size()));
    start = end + 2;
  }
  return {};
}

bool RecordedRequest::HasHeader(const std::string& name) const {
  const std::string wanted = "\r\n" + Lower(name) + ":";
  return Lower("\r\n" + headers).find(wanted) != std::string::npos;
}

LoopbackServer::LoopbackServer() {
  default_ = Answer::Status(404, "Not Found", "not found");
  connect_ = Answer::Status(502, "Bad Gateway");
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  int len = sizeof addr;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, SOMAXCONN) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    closesocket(s);
    return;
  }
  port_ = ntohs(addr.sin_port);
  listener_ = s;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  std::vector<std::thread> workers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    for (Socket s : open_) shutdown(static_cast<SOCKET>(s), SD_BOTH);
  }
  stopping_.notify_all();
  if (listener_ != kNoSocket) closesocket(static_cast<SOCKET>(listener_));
  if (acceptThread_.joinable()) acceptThread_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    workers.swap(workers_);
  }
  for (std::thread& t : workers) t.join();
  WSACleanup();
}

std::string LoopbackServer::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::string LoopbackServer::Address(const std::string& path) const { return "http://" + HostPort() + path; }

void LoopbackServer::Serve(const std::string& path, Answer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_[path] = std::move(answer);
}

void LoopbackServer::ServeDefault(Answer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  default_ = std::move(answer);
}

void LoopbackServer::ServeConnect(Answer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  connect_ = std::move(answer);
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

RecordedRequest LoopbackServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.empty() ? RecordedRequest{} : requests_.back();
}

size_t LoopbackServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.size();
}

void LoopbackServer::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

void LoopbackServer::AcceptLoop() {
  for (;;) {
    SOCKET c = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    std::lock_guard<std::mutex> lock(mutex_);
    if (c == INVALID_SOCKET || stop_) {
      if (c != INVALID_SOCKET) closesocket(c);
      return;
    }
    open_.push_back(c);
    workers_.emplace_back([this, c] { HandleConnection(c); });
  }
}

bool LoopbackServer::Stopping() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stop_;
}

bool LoopbackServer::Pause(int ms) {
  if (ms <= 0) return true;
  std::unique_lock<std::mutex> lock(mutex_);
  return !stopping_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
}

void LoopbackServer::HandleConnection(Socket connection) {
  SOCKET s = static_cast<SOCKET>(connection);
  std::string data;
  char buffer[4096];
  size_t headerEnd;
  bool complete = false;
  while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos && data.size() < kHeaderLimit) {
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  RecordedRequest request;
  if (headerEnd != std::string::npos) {
    size_t lineEnd = data.find("\r\n");
    request.requestLine = data.substr(0, lineEnd);
    request.headers = data.substr(lineEnd + 2, headerEnd + 2 - (lineEnd + 2));
    size_t sp1 = request.requestLine.find(' ');
    size_t sp2 = request.requestLine.find(' ', sp1 == std::string::npos ? 0 : sp1 + 1);
    request.method = request.requestLine.substr(0, sp1);
    if (sp1 != std::string::npos) request.target = request.requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    request.path = PathOfTarget(request.method, request.target);
    size_t length = static_cast<size_t>(std::strtoull(request.Header("Content-Length").c_str(), nullptr, 10));
    while (data.size() - (headerEnd + 4) < length) {
      int n = recv(s, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      data.append(buffer, static_cast<size_t>(n));
    }
    request.body = data.substr(headerEnd + 4, length);
    request.raw = data.substr(0, headerEnd + 4 + request.body.size());
    complete = true;
  }

  Answer answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (complete) requests_.push_back(request);
    auto found = script_.find(request.path);
    answer = request.method == "CONNECT" ? connect_ : found != script_.end() ? found->second : default_;
  }

  if (complete && !answer.closeWithoutAnswer && Pause(answer.delayMs)) {
    std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason + "\r\n";
    for (const std::string& line : answer.headerLines) head += line + "\r\n";
    if (answer.autoHeaders) {
      head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
      head += "Connection: close\r\n";
    }
    head += "\r\n";
    size_t bodySize = std::min(answer.body.size(), answer.cutBodyAfter);
    bool ok = SendAll(s, head.data(), head.size());
    size_t piece = answer.pieceSize == 0 ? bodySize : answer.pieceSize;
    for (size_t sent = 0; ok && sent < bodySize; sent += piece) {
      if (sent > 0 && !Pause(answer.pieceDelayMs)) break;
      ok = SendAll(s, answer.body.data() + sent, std::min(piece, bodySize - sent));
    }
  }
  shutdown(s, SD_SEND);
  // Drain what the client still sends so that closing does not reset the connection before it has
  // read the answer. A client that keeps the connection open is not waited for long.
  for (int waited = 0; waited < kDrainMs && !Stopping(); waited += 50) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval tick{0, 50 * 1000};
    int ready = select(0, &readable, nullptr, nullptr, &tick);
    if (ready < 0 || (ready > 0 && recv(s, buffer, sizeof buffer, 0) <= 0)) break;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  open_.erase(std::remove(open_.begin(), open_.end(), connection), open_.end());
  closesocket(s);
}
