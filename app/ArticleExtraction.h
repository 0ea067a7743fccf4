#pragma once
// Refills ImageAddressList with the picture addresses of the article named in the address box:
// fetches the page, cuts the embedded article record, reads its first part's HTML and collects
// the value of every src attribute. Every failure ends in a shorter or empty list, silently.
void ExtractArticleImages();
