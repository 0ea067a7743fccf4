#pragma once
// The picture addresses of the last accepted article address, in match order. Written only on the
// window thread; a download job works on its own copy (see DownloadJob).
#include <vector>

#include "text/Param.h"

extern std::vector<Text>* ImageAddressList;
