// What the status line and the message box say during a print job, as the tests expect it.
#pragma once
#include <string>

namespace pelto::test {

inline const std::string kConnected = "ﾌﾟﾘﾝﾀに接続しました";
inline const std::string kDisconnected = "接続を切断しました";
inline const std::string kDone = "送信完了しました";
inline const std::string kCancelled = "送信を中止しました";
inline const std::string kNoPrinter = "ﾌﾟﾘﾝﾀに接続できません";
inline const std::string kLoginError = "接続エラーです。ﾕｰｻﾞ名ﾊﾟｽﾜｰﾄﾞを確認下さい";
inline const std::string kEmptyQueue = "印刷するファイルを指定下さい";
// FakeMainView records a box as "caption|text".
inline const std::string kBox =
    "Pelto[ﾌﾟﾘﾝﾀに接続できません]|一度このプログラムを終了しﾌﾟﾘﾝﾀの電源やアドレスなどを確認して下さい";
inline std::string Sending(const std::string& name) { return name + " を送信中"; }

} // namespace pelto::test
