/* Settings of a serial link to the terminal, as the host passes them. */
#ifndef ZUMBRA_COMM_H
#define ZUMBRA_COMM_H

/* The host may pass any int. In C++ the enumerations get int as their
 * underlying type, so an unknown value is still a value the library can look
 * at and refuse; the layout is the same int as in C. */
#ifdef __cplusplus
#define ZQ_COMM_ENUM_BASE : int
#else
#define ZQ_COMM_ENUM_BASE
#endif

/* Character format of the serial line. */
typedef enum ZQ_COMM_ENUM_BASE {
  COMM_8N1 = 0, /* 8 data bits, no parity, 1 stop bit */
  COMM_7E1 = 1, /* 7 data bits, even parity, 1 stop bit */
  COMM_7O1 = 2, /* 7 data bits, odd parity, 1 stop bit */
  COMM_7N1 = 3  /* 7 data bits, no parity, 1 stop bit */
} comm_SerialDataMode;

/* Speed of the serial line, as an index. Linux has no 56000 baud: that
 * index runs the line at 57600. */
typedef enum ZQ_COMM_ENUM_BASE {
  COMM_BAUD_9600 = 0,
  COMM_BAUD_19200 = 1,
  COMM_BAUD_38400 = 2,
  COMM_BAUD_56000 = 3,
  COMM_BAUD_57600 = 4,
  COMM_BAUD_115200 = 5
} comm_SerialBaudrate;

#undef ZQ_COMM_ENUM_BASE

#endif
