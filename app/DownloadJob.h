#pragma once
// Stores every picture of a list as a numbered file in the folder box's folder, on its own thread.

// Called on the window thread by the start button: hands the job a copy of ImageAddressList and
// starts its thread. A later address change or a second job never changes what this job reads.
void StartDownloadJob();

// The body of the job's thread.
void DownloadJob();
