#pragma once
// The Staircase preview of an unmodified game (start rows 10, 9, ... 3, 3 with
// counts 1, 2, ... 8, 8): the core draws it and the Staircase dialog shows it.
namespace qvtest {

inline constexpr const char* kDefaultStaircase = " 0 - - - - - - - - - \r\n"
                                                 " 1 - - - - - - - - - \r\n"
                                                 " 2 - - - - - - - - - \r\n"
                                                 " 3 - - - - - - - ■■\r\n"
                                                 " 4 - - - - - - ■■■\r\n"
                                                 " 5 - - - - - ■■■■\r\n"
                                                 " 6 - - - - ■■■■■\r\n"
                                                 " 7 - - - ■■■■■■\r\n"
                                                 " 8 - - ■■■■■■■\r\n"
                                                 " 9 - ■■■■■■■■\r\n"
                                                 "10 ■■■■■■■■■\r\n"
                                                 "11 □□□□□□□□□\r\n"
                                                 "12 □□□□□□□□□";

} // namespace qvtest
