#pragma once
// Refills ImageAddressList with the picture addresses of the article in the address box.
void ExtractArticleImages();
