// The least a Windows program can spend on the benchmark's pictures: bare Winsock GET requests one
// after the other, a literal address, no parsing, nothing written to disk. What this takes beyond
// curl's time is the system's own cost for the sockets, which no HTTP client on it can avoid.
//   socket_floor PORT FIRST LAST     fetches /bench/FIRST.jpg ... /bench/LAST.jpg from 127.0.0.1
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: socket_floor PORT FIRST LAST\n");
    return 2;
  }
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<u_short>(std::atoi(argv[1])));
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int first = std::atoi(argv[2]), last = std::atoi(argv[3]);
  std::vector<char> buffer(64 * 1024);
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceCounter(&start);
  size_t bytes = 0;
  for (int n = first; n <= last; ++n) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connect(s, reinterpret_cast<sockaddr*>(&server), sizeof(server)) == 0) {
      const std::string request = "GET /bench/" + std::to_string(n) + ".jpg HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
      send(s, request.data(), static_cast<int>(request.size()), 0);
      for (int got; (got = recv(s, buffer.data(), static_cast<int>(buffer.size()), 0)) > 0;) bytes += got;
    }
    closesocket(s);
  }
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  std::printf("socket floor: %d pictures (%zu bytes with headers) in %.3f s\n", last - first + 1, bytes,
              static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  return 0;
}
