#include "app/ArticleExtraction.h"

#include "app/ImageAddressList.h"

void ExtractArticleImages() { ImageAddressList->clear(); }
