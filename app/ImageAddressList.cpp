#include "app/ImageAddressList.h"

std::vector<Text>* ImageAddressList = nullptr;
