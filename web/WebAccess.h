#pragma once
// One HTTP or HTTPS exchange over WinInet, returning the response body. Each call opens and closes
// its own three handles; cookies live only in the caller's variables. Absent switches
// mergeCookies, completeHeaders and fixHeaderCase mean true. An in/out argument is given as a
// variable (present, written back) or left out with {} (absent):
//   Text address = "host.test/a/ac1", cookies, headers = "Accept-Encoding: gzip, deflate";
//   Bytes body = WebAccess(address, 0, {}, cookies, {}, headers);
//
// address          in/out  gets "http://" in front (written back) when it names no scheme
// method           in      0 GET, 1 POST, 2 HEAD, 3 PUT, 4 DELETE, 5 OPTIONS, 6 TRACE, 7 CONNECT; else GET
// postText         in      body when postBytes is empty (never sent with GET)
// cookies          in/out  sent as the Cookie line; present also turns WinInet's own cookies off;
//                          receives the merged cookies
// returnedCookies  out     the cookies this response set, or the merged cookies
// extraHeaders     in/out  request header lines (CR LF between); receives the block actually sent
// responseHeaders  out     raw response header block (5000 spaces when it could not be read)
// noRedirect       in      WinInet does not follow redirections
// postBytes        in/out  body; filled from postText when empty and the method sends a body
// proxy            in      "host:port"; empty: direct
//
// The body of any status comes back, inflated when the response is gzip or deflate encoded (or
// gzip was asked for with "Accept-Encoding: gzip, deflate") and inflation succeeds. Empty bytes
// when a handle cannot be opened.
#include <cstdint>

#include "text/Param.h"
#include "web/ParamRef.h"

Bytes WebAccess(Text& address, Param<int32_t> method = {}, Param<Text> postText = {},
                ParamRef<Text> cookies = {}, ParamRef<Text> returnedCookies = {},
                ParamRef<Text> extraHeaders = {}, ParamRef<Text> responseHeaders = {},
                Param<bool> noRedirect = {}, ParamRef<Bytes> postBytes = {}, Param<Text> proxy = {},
                Param<bool> mergeCookies = {}, Param<bool> completeHeaders = {},
                Param<bool> fixHeaderCase = {});

// WebAccess with every argument handed on as present (so cookies are always present and empty
// switches are false), the body decoded from UTF-8 into code page 936 text.
Text WebAccessText(Text& address, Param<int32_t> method = {}, Param<Text> postText = {},
                   ParamRef<Text> cookies = {}, ParamRef<Text> returnedCookies = {},
                   ParamRef<Text> extraHeaders = {}, ParamRef<Text> responseHeaders = {},
                   Param<bool> noRedirect = {}, ParamRef<Bytes> postBytes = {}, Param<Text> proxy = {},
                   Param<bool> mergeCookies = {}, Param<bool> completeHeaders = {},
                   Param<bool> fixHeaderCase = {});

// UTF-8 bytes to code page 936 text, up to the first zero byte. Invalid sequences become
// replacement characters and unmappable characters the code page's default character.
Text Utf8ToGbkText(const Bytes& body);
