// VISA types, attribute and status values of the published C binding that this program
// and its simulated bench use. Header only, free of platform headers.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define VISA_CALL __stdcall
#else
#define VISA_CALL
#endif

#if defined(_WIN32)
typedef unsigned long ViUInt32;
typedef signed long ViInt32;
#else
typedef std::uint32_t ViUInt32;
typedef std::int32_t ViInt32;
#endif
static_assert(sizeof(ViUInt32) == 4 && sizeof(ViInt32) == 4, "VISA 32-bit types must be 32 bits");

typedef std::uint16_t ViUInt16;
typedef std::int16_t ViInt16;
typedef ViInt32 ViStatus;
typedef ViUInt32 ViObject;
typedef ViObject ViSession;
typedef ViObject ViFindList;
typedef ViUInt32 ViAttr;
typedef ViUInt32 ViAccessMode;
typedef char ViChar;
typedef const ViChar* ViConstString;
typedef const ViChar* ViConstRsrc;
typedef const ViChar* ViConstKeyId;
typedef unsigned char* ViPBuf;
typedef const unsigned char* ViConstBuf;

constexpr int VI_FIND_BUFLEN = 256;

constexpr ViStatus VisaStatus(std::uint32_t value) { return static_cast<ViStatus>(value); }

constexpr ViStatus VI_SUCCESS = 0;
constexpr ViUInt32 VI_NULL = 0;

constexpr ViAttr VI_ATTR_INTF_NUM = 0x3FFF0176;
constexpr ViAttr VI_ATTR_VXI_LA = 0x3FFF00D5;
constexpr ViAttr VI_ATTR_SLOT = 0x3FFF00E8;
constexpr ViAttr VI_ATTR_MODEL_CODE = 0x3FFF00DF;
constexpr ViAttr VI_ATTR_TMO_VALUE = 0x3FFF001A;

constexpr ViAccessMode VI_EXCLUSIVE_LOCK = 1;
constexpr ViAccessMode VI_SHARED_LOCK = 2;

constexpr ViStatus VI_SUCCESS_TERM_CHAR = VisaStatus(0x3FFF0005);
constexpr ViStatus VI_SUCCESS_MAX_CNT = VisaStatus(0x3FFF0006);
constexpr ViStatus VI_SUCCESS_NESTED_SHARED = VisaStatus(0x3FFF0099);
constexpr ViStatus VI_WARN_UNKNOWN_STATUS = VisaStatus(0x3FFF0085);
constexpr ViStatus VI_ERROR_SYSTEM_ERROR = VisaStatus(0xBFFF0000);
constexpr ViStatus VI_ERROR_INV_OBJECT = VisaStatus(0xBFFF000E);
constexpr ViStatus VI_ERROR_RSRC_LOCKED = VisaStatus(0xBFFF000F);
constexpr ViStatus VI_ERROR_INV_EXPR = VisaStatus(0xBFFF0010);
constexpr ViStatus VI_ERROR_RSRC_NFOUND = VisaStatus(0xBFFF0011);
constexpr ViStatus VI_ERROR_INV_RSRC_NAME = VisaStatus(0xBFFF0012);
constexpr ViStatus VI_ERROR_INV_ACC_MODE = VisaStatus(0xBFFF0013);
constexpr ViStatus VI_ERROR_TMO = VisaStatus(0xBFFF0015);
constexpr ViStatus VI_ERROR_NSUP_ATTR = VisaStatus(0xBFFF001D);
constexpr ViStatus VI_ERROR_INV_LOCK_TYPE = VisaStatus(0xBFFF0020);
constexpr ViStatus VI_ERROR_INV_ACCESS_KEY = VisaStatus(0xBFFF0021);
constexpr ViStatus VI_ERROR_ALLOC = VisaStatus(0xBFFF003C);
constexpr ViStatus VI_ERROR_IO = VisaStatus(0xBFFF003E);
constexpr ViStatus VI_ERROR_SESN_NLOCKED = VisaStatus(0xBFFF009C);
constexpr ViStatus VI_ERROR_LIBRARY_NFOUND = VisaStatus(0xBFFF009E);
constexpr ViStatus VI_ERROR_CONN_LOST = VisaStatus(0xBFFF00A6);

// The eleven functions of the library, as function-pointer types.
typedef ViStatus(VISA_CALL* ViOpenDefaultRMFn)(ViSession* vi);
typedef ViStatus(VISA_CALL* ViFindRsrcFn)(ViSession sesn, ViConstString expr, ViFindList* list,
                                          ViUInt32* retCnt, ViChar desc[]);
typedef ViStatus(VISA_CALL* ViFindNextFn)(ViFindList list, ViChar desc[]);
typedef ViStatus(VISA_CALL* ViOpenFn)(ViSession sesn, ViConstRsrc name, ViAccessMode mode,
                                      ViUInt32 timeout, ViSession* vi);
typedef ViStatus(VISA_CALL* ViCloseFn)(ViObject vi);
typedef ViStatus(VISA_CALL* ViGetAttributeFn)(ViObject vi, ViAttr attr, void* value);
typedef ViStatus(VISA_CALL* ViLockFn)(ViSession vi, ViAccessMode lockType, ViUInt32 timeout,
                                      ViConstKeyId requestedKey, ViChar accessKey[]);
typedef ViStatus(VISA_CALL* ViUnlockFn)(ViSession vi);
typedef ViStatus(VISA_CALL* ViReadFn)(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* retCnt);
typedef ViStatus(VISA_CALL* ViWriteFn)(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViUInt32* retCnt);
typedef ViStatus(VISA_CALL* ViStatusDescFn)(ViObject vi, ViStatus status, ViChar desc[]);
