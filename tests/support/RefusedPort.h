/* A loopback port that refuses connections: bound once by the system's
 * choice, then closed again. Plain C, so that the C hosts among the tests
 * share it with the C++ ones; a C includer defines _POSIX_C_SOURCE first. */
#ifndef ZQ_TEST_REFUSED_PORT_H
#define ZQ_TEST_REFUSED_PORT_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdint.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

static inline uint16_t zq_refusedPort(void) {
  struct sockaddr_in address;
  socklen_t length = sizeof address;
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, (struct sockaddr*)&address, sizeof address);
  getsockname(fd, (struct sockaddr*)&address, &length);
  close(fd);
  return ntohs(address.sin_port);
}

#endif
