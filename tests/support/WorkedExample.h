// SPDX-License-Identifier: MIT
#pragma once
// The worked example dump and its clipboard report, shared by the decoder, command-line and
// window tests; its results, marks and sources are in the fixture (Fixture.h). Toolkit-free.

#include <string_view>

namespace quillmark::sample {

inline constexpr std::string_view kWorkedExample =
    "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 "
    "00000000 00000000 000003E5 0000B1A3";

// Its clipboard report.
inline constexpr std::string_view kWorkedExampleReport =
    "Call Register: 0008F5B4\r\n"
    "Main PM: READY\r\n"
    "AUX PM: DISA_READY\r\n"
    "Orig Type: XTD_UNIT\r\n"
    "Term Type: UNKNOWN\r\n"
    "Orig TN: Use LD 32 to Convert TN H.0421\r\n"
    "Term TN: Use LD 32 to Convert TN H.0422\r\n"
    "Queue: QU_IDLE\r\n"
    "CR Fwd Link: 00090010\r\n"
    "CR Bak Link: 00090020\r\n"
    "Aux CR: 00000000\r\n"
    "CR Dialed: 00000000\r\n"
    "Digit Load: H.00101 (DEC: 5)\r\n"
    "Digit Unload: H.11111 (DEC: 31)\r\n"
    "Digits Dialed: 301B\r\n";

// The report with every result empty: the fifteen label texts alone.
inline constexpr std::string_view kEmptyReport =
    "Call Register: \r\n"
    "Main PM: \r\n"
    "AUX PM: \r\n"
    "Orig Type: \r\n"
    "Term Type: \r\n"
    "Orig TN: \r\n"
    "Term TN: \r\n"
    "Queue: \r\n"
    "CR Fwd Link: \r\n"
    "CR Bak Link: \r\n"
    "Aux CR: \r\n"
    "CR Dialed: \r\n"
    "Digit Load: \r\n"
    "Digit Unload: \r\n"
    "Digits Dialed: \r\n";

}  // namespace quillmark::sample
