#pragma once
/*
 * QV: peripheral driver library for point-of-sale programs (receipt printers,
 * customer displays, cash drawers on serial and parallel ports).
 *
 * Calling convention: every export is a plain C function under its own,
 * undecorated name. On Linux x86-64 there is one calling convention (the
 * System V ABI); no stdcall exists, so no decoration is needed. In qv.dll
 * for 32-bit Windows every export is stdcall (QV_CALL) except jWait, which
 * is cdecl (QV_CDECL); the export names carry no decoration there either.
 * Integer arguments and results are 32-bit signed (int32_t); a byte argument
 * is the low 8 bits of its integer. Pointers are pointer-sized. Texts are
 * NUL-terminated 8-bit byte strings. Nothing throws, nothing prints; results
 * are byte counts, 1 or 0, or negative codes.
 *
 * Ports are named by number: 1 to 9 are COM1 to COM9, 10 to 13 are LPT1 to
 * LPT4. Slot 13 is shared by LPT4 and the device opened with QVOpenPort13.
 * Any other number is a port without a device: opening it succeeds (except
 * port 0), writing to it sends nothing, reading from it gives nothing.
 *
 * Device paths: COMn is /dev/ttyS(n-1), LPTn is /dev/lp(n-1). Each can be
 * replaced by an environment variable named after the port: QV_COM1 ...
 * QV_COM9, QV_LPT1 ... QV_LPT4 (for example QV_COM1=/dev/ttyUSB0 or
 * QV_LPT1=/dev/usb/lp0). The variable is read at every open.
 *
 * Ports are opened for exclusive use. Serial lines are put in raw mode (no
 * echo, no line editing, no output translation) and reads never wait; writes
 * return once the device driver has taken every byte. A device without modem
 * lines (such as a pseudo-terminal) fails the modem-line calls (GetComSta
 * gives -1, SetComSta for RTS/DTR/break gives 0).
 *
 * Parallel printer status (QVIsLpt, QVI17) is read through the lp driver and
 * given in the PC BIOS layout: bit 7 not busy, bit 6 acknowledge, bit 5 out of
 * paper, bit 4 selected, bit 3 I/O error, bit 0 time-out; 0x90 means ready.
 * A USB printer-class device reports no busy or acknowledge line and counts
 * as not busy. A device that reports no printer status at all (not a printer
 * port) counts as ready; a device that cannot be reached answers 0x01
 * (time-out). An open parallel port is asked through its own descriptor (for
 * port 13 that is whichever device holds slot 13).
 *
 * On Linux:
 *  - WinVersion(1), (2), (3) give the kernel's major, minor and patch numbers,
 *    WinVersion(4) gives the platform id 1: like the Windows 95 family the
 *    platform offers a printer status and print service (the lp driver), so
 *    QVIsLpt reads the real status. WinVersionRem gives the kernel's build
 *    text (uname -v), cut to 127 characters.
 *  - QVI17 writes its byte to the parallel port's device and answers the
 *    printer status read afterwards, with bit 0 (time-out) set when the byte
 *    could not be written.
 *  - WinErrCode gives the errno value of the library's last failed system
 *    call.
 */

#include <stdint.h>

/* QV_CALL is the exports' calling convention: stdcall in the Windows DLL
 * (the callee removes its arguments), the platform's only one elsewhere.
 * jWait alone is QV_CDECL: its caller removes the argument. */
#if defined(_WIN32)
#define QV_API
#define QV_CALL __stdcall
#define QV_CDECL __cdecl
#elif defined(__GNUC__)
#define QV_API __attribute__((visibility("default")))
#define QV_CALL
#define QV_CDECL
#else
#define QV_API
#define QV_CALL
#define QV_CDECL
#endif

#ifdef __cplusplus
#define QV_NOEXCEPT noexcept
extern "C" {
#else
#define QV_NOEXCEPT
#endif

/* The platform version record filled by WinVersionx (148 bytes). */
typedef struct QvOsVersionInfo {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char szCSDVersion[128];
} QvOsVersionInfo;

/* Opening and closing. */
QV_API int32_t QV_CALL QVOpenPort(int32_t port, const char* settings) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVClosePort(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVOpenPort13(const char* deviceName) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVClosePort13(void) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVOpenIr(int32_t port, const char* settings) QV_NOEXCEPT;

/* Writing. */
QV_API int32_t QV_CALL QVSendPort(int32_t port, const void* data, int32_t length) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVSendByte(int32_t port, int32_t byte) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVSendStr(int32_t port, const char* text) QV_NOEXCEPT;

/* Reading; never waits. */
QV_API int32_t QV_CALL QVReadByte(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVReadPort(int32_t port, void* buffer, int32_t length) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVReadStr(int32_t port, char* buffer) QV_NOEXCEPT;

/* Serial status and control. */
QV_API int32_t QV_CALL QVPurgeComm(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL GetComErr(int32_t port, int32_t item) QV_NOEXCEPT;
QV_API int32_t QV_CALL GetComSta(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL SetComSta(int32_t port, int32_t function) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVDtrOn(int32_t flag) QV_NOEXCEPT;
QV_API int32_t QV_CALL QvOpnCls(int32_t flag) QV_NOEXCEPT;

/* Status buffer (16 bytes). */
QV_API int32_t QV_CALL GetQvSta(void* buffer16) QV_NOEXCEPT;
QV_API int32_t QV_CALL GetQvStaNum(int32_t index) QV_NOEXCEPT;

/* Parallel printer status. */
QV_API int32_t QV_CALL QVIsLpt(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QVI17(int32_t port, int32_t byte) QV_NOEXCEPT;

/* Timing. */
QV_API int32_t QV_CALL WaitBaseSet(int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CDECL jWait(int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL GetSec1000(void) QV_NOEXCEPT;

/* Platform queries. */
QV_API int32_t QV_CALL WinErrCode(void) QV_NOEXCEPT;
QV_API int32_t QV_CALL WinVersion(int32_t k) QV_NOEXCEPT;
QV_API const char* QV_CALL WinVersionRem(void) QV_NOEXCEPT;
QV_API int32_t QV_CALL WinVersionx(QvOsVersionInfo* info) QV_NOEXCEPT;

/* ==== Printers and customer displays ====
 *
 * Every command takes the port number first and sends its bytes with
 * QVSendPort (texts with QVSendStr where noted), so they enter SendChk and
 * follow the readiness check and QvOpnCls. A numeric argument sends its low
 * 8 bits. Unless noted, the result is the byte count of the command's last
 * send (0 when nothing was written: a closed port or a port without a
 * device). A missing (NULL) text is sent as an empty one.
 *
 * Names in one group below are one function exported under each name:
 *   QV3ChrSet QV71ChrSet QV9ChrSet VFDChrSet | QV3ChrSpc QV71ChrSpc QV9ChrSpc
 *   QV3Eject QV71Eject QV9Eject VFDCls | QV3SetPag QV71SetPag QV9SetPag
 *   QV3BitMap QV71BitMap QV9BitMap | QV3FulCut QV71FulCut QV7Cut
 *   QV3PatCut QV71PatCut | QV3Open QV71Open | QV3SetLin QV71SetLin
 *   QV3LinFed QV71LinFed | QV3SmlFed QV71SmlFed | QV3Prn QV71Prn
 *   QV9Cr VFDCsrLEnd | QV9Tab VFDCsrRit | VFDCsrREnd LcdCls | P20Open LcdOpenBox
 *
 * Requests that expect an answer wait for it with the reply time limit
 * (WaitBaseSet), between ReplyBase - 1 and ReplyBase seconds.
 *
 * Images from BMP files (QV7BitMap, QV71BitMapD): a 1-bit uncompressed
 * Windows bitmap, rows stored bottom-up and nothing after the last row. The
 * file is refused, before anything is sent, with
 *   -9 cannot be opened (or is not a regular file)   -1 under 58 bytes
 *   -2 first byte not 'B'                            -3 wider than 1024 dots
 *   -4 width 0                                       -5 height 0 or over 1024
 *   -6 the rows its header promises (height x row stride, the stride being
 *      the row's bytes rounded up to a multiple of 4) do not fit in the file
 *      after its 54 header bytes: a truncated file.
 * Bytes that cannot be read once the transfer has begun (the file shrank
 * meanwhile) are sent as blank dots, so the printer still gets every row
 * the transfer announced.
 */

/* Printer family 7. */
QV_API int32_t QV_CALL QV7Reset(int32_t port)
    QV_NOEXCEPT; /* 1B 40; SendChk = 0 afterwards when written */
QV_API int32_t QV_CALL QV7LinFed(int32_t port,
                                 int32_t n) QV_NOEXCEPT;     /* 0A once; n has no effect */
QV_API int32_t QV_CALL QV7CsrLEnd(int32_t port) QV_NOEXCEPT; /* 0D */
QV_API int32_t QV_CALL QV7MovCrs(int32_t port, int32_t a, int32_t b) QV_NOEXCEPT; /* 1B 24 b a */
/* 1B 21 a b c */
QV_API int32_t QV_CALL QV7PrnMod(int32_t port, int32_t a, int32_t b, int32_t c) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV7Cut(int32_t port) QV_NOEXCEPT;   /* 1B 69 */
QV_API int32_t QV_CALL QV7Eject(int32_t port) QV_NOEXCEPT; /* 1B 0C */
/* 1D 6B a c b d e, the text (QVSendStr), 00; the result of the 00 send. */
QV_API int32_t QV_CALL QV7PrnBar(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d,
                                 int32_t e, const char* text) QV_NOEXCEPT;
/* 1B 63 c b a d e, the text (QVSendStr), 00; the result of the 00 send. */
QV_API int32_t QV_CALL QV7PrnBig(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d,
                                 int32_t e, const char* text) QV_NOEXCEPT;
/* QV7MovCrs(port, a, b), 1B 21 c d e, the text (QVSendStr); 1 when text was written, else 0. */
QV_API int32_t QV_CALL QV7Prn(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                              const char* text) QV_NOEXCEPT;
/* As QV7Prn with 1B 50 before the text and 0D after it, then waits for the
 * printer's byte: 1 for a byte above 0, 0 for 00 or on time-out. */
QV_API int32_t QV_CALL QV7PrnCod(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d,
                                 int32_t e, const char* text) QV_NOEXCEPT;
/* 1B 43 (mode 0) or 1B 63 (other modes); the first byte answered, -1 on time-out. */
QV_API int32_t QV_CALL QV7Cover(int32_t port, int32_t mode) QV_NOEXCEPT;
/* 1B 59; 1 when the printer answers a byte equal to SendChk, 0 on time-out.
 * Status bytes: [0] the request's send result, [1] the last byte answered,
 * [2] SendChk. */
QV_API int32_t QV_CALL QV7ChkSum(int32_t port) QV_NOEXCEPT;
/* 1B 4F; clears the status buffer and stores the answer's bytes above 09 in
 * it, up to 12 or up to and with 0A. Returns the status buffer (16 bytes). */
QV_API const uint8_t* QV_CALL QV7Sta(int32_t port) QV_NOEXCEPT;
/* Prints a BMP file at position a, b: QV7MovCrs(port, a, b), 1B 2A wL wH hL
 * hH, then the rows top first, one send per row; a 4F after a 1B in the
 * image is sent as 4E. After each row it pauses 5 ms and waits for CTS,
 * polling 200 times 10 ms apart; -10 when CTS stays off (a device without
 * modem lines counts as off). Result: the last row's send result, or a
 * refusal code above. Status bytes: [0..3] the last modem state (as
 * GetComSta), [10..13] width and height, little-endian. */
QV_API int32_t QV_CALL QV7BitMap(int32_t port, int32_t a, int32_t b,
                                 const char* fileName) QV_NOEXCEPT;

/* Printer families 3, 71 and 9 (see the groups above). */
QV_API int32_t QV_CALL QV3ChrSet(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 52 a */
QV_API int32_t QV_CALL QV71ChrSet(int32_t port, int32_t a) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9ChrSet(int32_t port, int32_t a) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3ChrSpc(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 20 a */
QV_API int32_t QV_CALL QV71ChrSpc(int32_t port, int32_t a) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9ChrSpc(int32_t port, int32_t a) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3Eject(int32_t port) QV_NOEXCEPT; /* 0C */
QV_API int32_t QV_CALL QV71Eject(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9Eject(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3SetPag(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 43 a */
QV_API int32_t QV_CALL QV71SetPag(int32_t port, int32_t a) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9SetPag(int32_t port, int32_t a) QV_NOEXCEPT;
/* 1B 2A m nL nH (the low 16 bits of n), then n bytes of data; the result of the data send. */
QV_API int32_t QV_CALL QV3BitMap(int32_t port, int32_t m, const void* data, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71BitMap(int32_t port, int32_t m, const void* data, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9BitMap(int32_t port, int32_t m, const void* data, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3FulCut(int32_t port) QV_NOEXCEPT; /* 1B 69 */
QV_API int32_t QV_CALL QV71FulCut(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3PatCut(int32_t port) QV_NOEXCEPT; /* 1B 6D */
QV_API int32_t QV_CALL QV71PatCut(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3Open(int32_t port) QV_NOEXCEPT; /* 1B 70 00 64 64 */
QV_API int32_t QV_CALL QV71Open(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV3SetLin(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 33 a */
QV_API int32_t QV_CALL QV71SetLin(int32_t port, int32_t a) QV_NOEXCEPT;
/* 0A n times, one send each; 0 for n <= 0. */
QV_API int32_t QV_CALL QV3LinFed(int32_t port, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71LinFed(int32_t port, int32_t n) QV_NOEXCEPT;
/* 1B 4A n for n > 0, 1B 4B -n for n < 0, nothing (0) for n = 0. */
QV_API int32_t QV_CALL QV3SmlFed(int32_t port, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71SmlFed(int32_t port, int32_t n) QV_NOEXCEPT;
/* The text, then n line feeds as QV3LinFed; the result of the text send. */
QV_API int32_t QV_CALL QV3Prn(int32_t port, const char* text, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71Prn(int32_t port, const char* text, int32_t n) QV_NOEXCEPT;
/* SendChk = 0, then 1B 40. */
QV_API int32_t QV_CALL QV3Reset(int32_t port) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71Reset(int32_t port) QV_NOEXCEPT;
/* 1B 21 21, 1B 7E 02, the text, 1B 21 01, 1B 7E 05, n line feeds; the result of the text send. */
QV_API int32_t QV_CALL QV3PrnBig(int32_t port, const char* text, int32_t n) QV_NOEXCEPT;
/* 1B 21 21, the text, 1B 21 01, n line feeds; the result of the text send. */
QV_API int32_t QV_CALL QV71PrnBig(int32_t port, const char* text, int32_t n) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71PrnPos(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 61 a */
/* 1D 68 h and 1D 77 w when h > 0, then 1D 6B m, the text, 00; the result of the 00 send. */
QV_API int32_t QV_CALL QV71PrnBar(int32_t port, int32_t m, const char* text, int32_t h,
                                  int32_t w) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV71BitMapDP(int32_t port, int32_t m) QV_NOEXCEPT; /* 1D 2F m */
/* Downloads a BMP file: 1F 2A r hb (r bytes per row, hb = rows / 8 rounded
 * up), the rows top first, one send each, blank rows up to 8 x hb, then
 * 1D 25; the result of the 1D 25 send, or a refusal code above. Status
 * bytes: [10] hb, [11] r, [12] the mask of the bits beyond the width (set
 * only when the width is not a multiple of 8). */
QV_API int32_t QV_CALL QV71BitMapD(int32_t port, const char* fileName) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9Reset(int32_t port) QV_NOEXCEPT;             /* 1B 40; SendChk kept */
QV_API int32_t QV_CALL QV9LinFed(int32_t port, int32_t n) QV_NOEXCEPT; /* as QV3LinFed */
QV_API int32_t QV_CALL QV9Cr(int32_t port) QV_NOEXCEPT;                /* 0D */
QV_API int32_t QV_CALL QV9Tab(int32_t port) QV_NOEXCEPT;               /* 09 */
/* 1B 44, the positions text (QVSendStr), 00; the result of the 00 send. */
QV_API int32_t QV_CALL QV9TabPos(int32_t port, const char* positions) QV_NOEXCEPT;
QV_API int32_t QV_CALL QV9FntMod(int32_t port, int32_t a) QV_NOEXCEPT;  /* 1B 21 a */
QV_API int32_t QV_CALL QV9Fnt79(int32_t port) QV_NOEXCEPT;              /* 1B 4D */
QV_API int32_t QV_CALL QV9Fnt99(int32_t port) QV_NOEXCEPT;              /* 1B 50 */
QV_API int32_t QV_CALL QV9SetDWid(int32_t port) QV_NOEXCEPT;            /* 1B 0E */
QV_API int32_t QV_CALL QV9CanDWid(int32_t port) QV_NOEXCEPT;            /* 1B 14 */
QV_API int32_t QV_CALL QV9ChoDWid(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 57 a */
QV_API int32_t QV_CALL QV9ChoDHig(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 68 a */
QV_API int32_t QV_CALL QV9DblHig(int32_t port) QV_NOEXCEPT;             /* 1B 78 30 */
QV_API int32_t QV_CALL QV9QuaHig(int32_t port) QV_NOEXCEPT;             /* 1B 78 32 */
QV_API int32_t QV_CALL QV9SetHnd(int32_t port) QV_NOEXCEPT;             /* 1B 0F */
QV_API int32_t QV_CALL QV9CanHnd(int32_t port) QV_NOEXCEPT;             /* 1B 12 */
QV_API int32_t QV_CALL QV9ChoHnd(int32_t port, int32_t a) QV_NOEXCEPT;  /* 1B 7B a */
QV_API int32_t QV_CALL QV9PanSwi(int32_t port, int32_t a) QV_NOEXCEPT;  /* 1B 65 a */
QV_API int32_t QV_CALL QV9ChnMod(int32_t port, int32_t a) QV_NOEXCEPT;  /* 1B 7E a */
/* kind 0: 1B 70 00 64 64, 1: 07, 2: 1A; other kinds send nothing (0). */
QV_API int32_t QV_CALL QV9Open(int32_t port, int32_t kind) QV_NOEXCEPT;
/* 1B 76; the first byte answered, -1 on time-out. */
QV_API int32_t QV_CALL QV9Sta(int32_t port) QV_NOEXCEPT;

/* Printer family P20. The selector S(k) is 52 for k = 1, 4A for k = 2 and
 * 42 otherwise; the digit D(n) is 30 + n. */
QV_API int32_t QV_CALL P20Reset(int32_t port) QV_NOEXCEPT;             /* 1B 52 0D */
QV_API int32_t QV_CALL P20Open(int32_t port) QV_NOEXCEPT;              /* 1B 47 0D */
QV_API int32_t QV_CALL P20Cut(int32_t port) QV_NOEXCEPT;               /* 1B 43 0D */
QV_API int32_t QV_CALL P20CutFom(int32_t port, int32_t k) QV_NOEXCEPT; /* 1B 56 S(k) 0D */
QV_API int32_t QV_CALL P20Stamp(int32_t port) QV_NOEXCEPT;             /* 1B 53 0D */
QV_API int32_t QV_CALL P20CanHed(int32_t port) QV_NOEXCEPT;            /* 1B 73 00 */
QV_API int32_t QV_CALL P20LinFed(int32_t port, int32_t k,
                                 int32_t n) QV_NOEXCEPT; /* 1B 4C S(k) D(n) 0D */
/* 1B 50 S(k) D(n), the text, 0D; the result of the 0D send, 0 when the first
 * send wrote nothing. */
QV_API int32_t QV_CALL P20Prn(int32_t port, int32_t k, int32_t n, const char* text) QV_NOEXCEPT;
/* As P20Prn with the text in wide print: each byte is preceded by 0E, and a
 * byte followed by a byte above 7F goes with it as one 0E-prefixed pair
 * (41 42 -> 0E 41 0E 42, A4 A4 A4 A5 -> 0E A4 A4 0E A4 A5). Texts of any
 * length are expanded whole and sent in one send: there is no limit at 63
 * expanded bytes (31 single bytes or 21 pairs). */
QV_API int32_t QV_CALL P20PrnBig(int32_t port, int32_t k, int32_t n, const char* text) QV_NOEXCEPT;
/* 1B 73 L, then the lines l1 to l4 each followed by 0A (an empty line is
 * only its 0A), then l5 and 0A when l5 is not empty; L counts the bytes after
 * it, modulo 256. The result of the last send, 0 when the first wrote nothing. */
QV_API int32_t QV_CALL P20SetHed(int32_t port, const char* l1, const char* l2, const char* l3,
                                 const char* l4, const char* l5) QV_NOEXCEPT;
/* 1B 4F 0D; clears the status buffer and stores the answer's bytes above 0C,
 * up to 11 or up to and with 0D. Returns the status buffer (16 bytes). */
QV_API const uint8_t* QV_CALL P20Sta(int32_t port) QV_NOEXCEPT;
/* 1B 3F 0D; clears the status buffer and stores the answer as P20Sta (up to
 * 3 bytes). 1 when the answer holds 31, 0 when it holds 30 (the later one
 * counts), -1 without either. */
QV_API int32_t QV_CALL P20IsOpen(int32_t port) QV_NOEXCEPT;

/* Customer displays: the two-line VFD character display. */
/* 1F 24 b a, then the text; the text bytes written, 1 for an empty text, 0
 * when the first send wrote nothing. */
QV_API int32_t QV_CALL VFDSay(int32_t port, int32_t a, int32_t b, const char* text) QV_NOEXCEPT;
QV_API int32_t QV_CALL VFDMovCrs(int32_t port, int32_t a, int32_t b) QV_NOEXCEPT; /* 1F 24 b a */
QV_API int32_t QV_CALL VFDCsrLef(int32_t port) QV_NOEXCEPT;                       /* 08 */
QV_API int32_t QV_CALL VFDCsrRit(int32_t port) QV_NOEXCEPT;                       /* 09 */
QV_API int32_t QV_CALL VFDCsrUp(int32_t port) QV_NOEXCEPT;                        /* 1F 0A */
QV_API int32_t QV_CALL VFDCsrDn(int32_t port) QV_NOEXCEPT;                        /* 0A */
QV_API int32_t QV_CALL VFDCsrLEnd(int32_t port) QV_NOEXCEPT;                      /* 0D */
QV_API int32_t QV_CALL VFDCsrREnd(int32_t port) QV_NOEXCEPT;                      /* 1F 0D */
QV_API int32_t QV_CALL VFDCsrHom(int32_t port) QV_NOEXCEPT;                       /* 0B */
QV_API int32_t QV_CALL VFDCsrBot(int32_t port) QV_NOEXCEPT;                       /* 1F 42 */
QV_API int32_t QV_CALL VFDCls(int32_t port) QV_NOEXCEPT;                          /* 0C */
QV_API int32_t QV_CALL VFDReset(int32_t port) QV_NOEXCEPT;             /* SendChk = 0, then 1B 40 */
QV_API int32_t QV_CALL VFDTest(int32_t port) QV_NOEXCEPT;              /* SendChk = 0, then 1F 40 */
QV_API int32_t QV_CALL VFDBriAdj(int32_t port, int32_t a) QV_NOEXCEPT; /* 1F 58 a */
QV_API int32_t QV_CALL VFDBlnSet(int32_t port, int32_t a) QV_NOEXCEPT; /* 1F 45 a */
QV_API int32_t QV_CALL VFDCodSet(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 74 a */
QV_API int32_t QV_CALL VFDChrSet(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 52 a */
QV_API int32_t QV_CALL VFDChrRev(int32_t port, int32_t a) QV_NOEXCEPT; /* 1F 72 a */
QV_API int32_t QV_CALL VFDOvrMod(int32_t port) QV_NOEXCEPT;            /* 1F 01 */
QV_API int32_t QV_CALL VFDVerScr(int32_t port) QV_NOEXCEPT;            /* 1F 02 */
QV_API int32_t QV_CALL VFDHorScr(int32_t port) QV_NOEXCEPT;            /* 1F 03 */
/* 1B 26 01 a 01, then exactly 5 bytes of pattern (00 bytes included); the
 * result of the pattern send, 0 when the first send failed. A NULL pattern
 * sends five 00 bytes (a blank character). */
QV_API int32_t QV_CALL VFDChrDnLoad(int32_t port, int32_t a, const void* pattern) QV_NOEXCEPT;
QV_API int32_t QV_CALL VFDDelDnLoad(int32_t port) QV_NOEXCEPT;            /* 1B 3F */
QV_API int32_t QV_CALL VFDEblDnLoad(int32_t port, int32_t a) QV_NOEXCEPT; /* 1B 25 a */
/* 1B 57 a b c d e f */
QV_API int32_t QV_CALL VFDSetWin(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d,
                                 int32_t e, int32_t f) QV_NOEXCEPT;
QV_API int32_t QV_CALL VFDSelDec(int32_t port, int32_t a) QV_NOEXCEPT;            /* 1B 3D a */
QV_API int32_t QV_CALL VFDMacSet(int32_t port) QV_NOEXCEPT;                       /* 1F 3A */
QV_API int32_t QV_CALL VFDMacRun(int32_t port, int32_t a, int32_t b) QV_NOEXCEPT; /* 1F 5E a b */
QV_API int32_t QV_CALL VFDSetTim(int32_t port, int32_t a, int32_t b) QV_NOEXCEPT; /* 1F 54 a b */
QV_API int32_t QV_CALL VFDShwTim(int32_t port) QV_NOEXCEPT;                       /* 1F 55 */

/* Customer displays: LCDs of two or four rows. Each writes 1B 71 and a row
 * letter, the text (sent whole), then 0D, and returns the result of the 0D
 * send. Lcd2Row stops with 0 when its first send fails. Letters: Lcd2Row
 * 45 (row 1) or 46 (other rows); Lcd2RowIns 4B or 4C; Lcd4Row 42, 43, 44 for
 * rows 2 to 4 and 41 for other rows; Lcd4RowIns 48, 49, 4A and 47. */
QV_API int32_t QV_CALL Lcd2Row(int32_t port, int32_t row, const char* text) QV_NOEXCEPT;
QV_API int32_t QV_CALL Lcd2RowIns(int32_t port, int32_t row, const char* text) QV_NOEXCEPT;
QV_API int32_t QV_CALL Lcd4Row(int32_t port, int32_t row, const char* text) QV_NOEXCEPT;
QV_API int32_t QV_CALL Lcd4RowIns(int32_t port, int32_t row, const char* text) QV_NOEXCEPT;
QV_API int32_t QV_CALL LcdCls(int32_t port) QV_NOEXCEPT;     /* 1F 0D */
QV_API int32_t QV_CALL LcdOpenBox(int32_t port) QV_NOEXCEPT; /* 1B 47 0D */

/* ---------------------------------------------------------------------------
 * Screen, drawing, graphic display and cash drawer.
 *
 * The screen: in qv.dll, the desktop's device context. jSetFont and JTextOut
 * draw blue text (0x00FF0000) on a white cell there, jGetPixel reads the
 * screen's pixels, and DrawBottom draws the platform's 3-D edges with the
 * system's edge colours. On Linux, where no window system lets a library draw
 * over the whole screen, "the screen" is a monochrome picture of 800 x 600
 * dots that the library owns for its whole life and nothing displays:
 * jGetPixel reads its set dots as blue and its clear dots as white
 * (0x00FFFFFF), and DrawBottom sets or clears dots for the shadowed and lit
 * sides. jSetFontN and D304Show draw white on black (0x00FFFFFF on 0) into an
 * 800 x 600 picture of the surface's own. Text and pixels are limited to
 * (0, 0)-(800, 600) either way. Coordinates: x to the right, y downward; the
 * drawing exports take y first.
 *
 * Texts are Big5 (code page 950) bytes ending in NUL; a byte that starts no
 * valid character is drawn as '?'. Fonts are found through fontconfig by the
 * face name (in qv.dll by the platform, the Big5 name read as code page
 * 950), preferring faces that cover Traditional Chinese: an unknown name gets
 * such a face, and characters a named face lacks are drawn from one. height > 0 is the character cell's height in pixels, height < 0 the
 * em height, 0 a cell of 16; char width > 0 the average character width, 0
 * in proportion; sizes are limited to 1024. A weight asked for but not
 * installed is made by emboldening. Texts are drawn with the cell's top-left
 * corner at (x, y) on a painted background (the cell's dots cleared).
 *
 * The surface is made by the first drawing call and remade by a call with
 * reinit 1; later calls draw with its font unchanged (their weight, height
 * and face have no effect). A remade surface releases the font and picture it
 * replaces, and each D304Show releases the previous call's font and picture.
 * D304Show always renders into a picture of its own: when the surface was
 * the screen it becomes a memory surface.
 *
 * ScreenXRes, ScreenYRes and JGetCursorPos answer from the X display named by
 * DISPLAY (libX11 is loaded at run time when first needed). Without a
 * reachable display they answer 800, 600 (the screen picture) and -1.
 * --------------------------------------------------------------------------- */

/* Weights below 200 or above 900 become 400. Draws text on the screen (a new
 * screen surface with this font when none exists or reinit is 1). Returns
 * reinit. */
QV_API int32_t QV_CALL jSetFont(int32_t y, int32_t x, int32_t weight, int32_t height,
                                const char* face, const char* text, int32_t reinit) QV_NOEXCEPT;
/* As jSetFont, but a new surface is a picture of its own, white on black.
 * Measures the text: StaBuf[0], [1] = low bytes of its width and cell height.
 * Returns the width in pixels. */
QV_API int32_t QV_CALL jSetFontN(int32_t y, int32_t x, int32_t weight, int32_t height,
                                 const char* face, const char* text, int32_t reinit) QV_NOEXCEPT;
/* Draws on the surface with its font: 1 drawn, 0 when it cannot be (no text,
 * or no font could be found), 9 when no surface exists yet. */
QV_API int32_t QV_CALL JTextOut(int32_t y, int32_t x, const char* text) QV_NOEXCEPT;
/* The surface's colour at (x, y) as 0x00BBGGRR, also kept for JGetRgb; -9
 * (and -1, -1, -1 kept) outside the picture or before any surface. */
QV_API int32_t QV_CALL jGetPixel(int32_t y, int32_t x) QV_NOEXCEPT;
/* The last pixel read: k = 1 red, 2 green, 3 blue (-1 after a failed read);
 * -1 for any other k. */
QV_API int32_t QV_CALL JGetRgb(int32_t k) QV_NOEXCEPT;
/* The mouse pointer: k = 1 its x, any other k its y, in screen pixels; -1
 * when there is no display or the pointer is on another screen. */
QV_API int32_t QV_CALL JGetCursorPos(int32_t k) QV_NOEXCEPT;
/* A frame on the border of the rectangle (left, top)-(right, bottom), right
 * and bottom excluded, on the screen: style 1 a sunken inner edge
 * (BDR_SUNKENINNER), other styles a raised edge (EDGE_RAISED); on the Linux
 * picture, one ring (top and left set, bottom and right cleared) or two
 * (top and left cleared, bottom and right set). Non-zero when drawn; on Linux
 * 0 for an empty rectangle. */
QV_API int32_t QV_CALL DrawBottom(int32_t top, int32_t left, int32_t bottom, int32_t right,
                                  int32_t style) QV_NOEXCEPT;
QV_API int32_t QV_CALL ScreenXRes(void) QV_NOEXCEPT;
QV_API int32_t QV_CALL ScreenYRes(void) QV_NOEXCEPT;

/* Graphic display (64 dot rows, command 1B 5A). D304Show renders text with a
 * font of the given cell height and average width at (64, 64) and sends, to
 * the port of the last QVOpenPort, 1B 5A b a n m and then m rows of n bytes
 * (one send a row): w, h = width - 1 and height - 1 of the text, n = w / 8
 * rounded up (at most 29), m = h (0 to 64). StaBuf[0], [1] = low bytes of w
 * and h. The rendering is kept in a table of 71 rows of 48 bytes (at most 64
 * rows of 30 bytes filled, most significant bit leftmost, set = lit).
 * Returns m, also when the port is closed or has no device. */
QV_API int32_t QV_CALL D304Show(int32_t a, int32_t b, int32_t charWidth, int32_t charHeight,
                                const char* face, const char* text, int32_t reinit) QV_NOEXCEPT;
/* A byte of D304Show's table; 0 outside rows 0 to 70 and columns 0 to 47. */
QV_API int32_t QV_CALL GetD304(int32_t row, int32_t col) QV_NOEXCEPT;
/* Sends a 1-bit BMP file: 1B 5A b a, the width in dots (low byte), the height,
 * then each row from the top, (width + 7) / 8 bytes, lit dots set. Rows are
 * taken from the end of the file backwards. Refused before anything is sent:
 * -9 the file cannot be opened (missing, not a regular file, or locked by
 * another program; WinErrCode says which), -1 below 58 bytes, -2 not
 * starting with 'B', -3 wider than 240 dots, -4 width 0, -5 height 0 or above
 * 64, -6 the file is too short for the rows its header promises after the
 * 54 header bytes. On success StaBuf[10] to [13]
 * = b, a, width, height (low bytes); returns the last row's send result. */
QV_API int32_t QV_CALL D304Bmp(int32_t port, int32_t a, int32_t b,
                               const char* fileName) QV_NOEXCEPT;

/* Cash drawer, through its driver: the character device /dev/cshdw0, or the
 * path in the environment variable QV_DRAWER (read at every open). The open
 * and status calls open the device when needed (read-only, exclusive); a
 * failed open is not retried before NxdfDrwEnd. They send the driver control
 * request 0x222030 (open) or 0x222034 (status) with 10 input bytes, all 0,
 * and a 10-byte answer buffer: on Linux the ioctl _IOC(read | write, 0x22,
 * 0x0C or 0x0D, 10) with one 10-byte buffer carrying the input in and the
 * answer out. NxdfDrwOpen: 1 accepted, else 0. NxdfDrwStatus: 1 when the
 * answer's first byte is not 0, 2 when it is 0, 0 on failure. NxdfDrwEnd
 * closes the device and returns 1. */
QV_API int32_t QV_CALL NxdfDrwOpen(void) QV_NOEXCEPT;
QV_API int32_t QV_CALL NxdfDrwStatus(void) QV_NOEXCEPT;
QV_API int32_t QV_CALL NxdfDrwEnd(void) QV_NOEXCEPT;

#ifdef __cplusplus
}
#endif
