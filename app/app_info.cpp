#include "app/app_info.h"

namespace morva {

const char* ProductLine() { return "Morva 0.1 — CD-ROM 電子辞書ビューア"; }

const char* const* AboutLines() {
  static const char* const lines[] = {
      "CD-ROM で出版された catalogs / catalog 形式の電子辞書を読み、検索します。",
      "索引検索・複合検索・メニュー・全文検索、外字、画像、音声に対応しています。",
      "Qt 6 と C++20 で作られています。",
      nullptr,
  };
  return lines;
}

}  // namespace morva
