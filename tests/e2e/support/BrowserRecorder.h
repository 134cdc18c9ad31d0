// Stands in for the web browser of the Wine prefix: while it lives, every page that the
// shell opens is appended to a file instead of going to a browser.
#pragma once

#include <string>
#include <vector>

class BrowserRecorder {
public:
    BrowserRecorder();
    ~BrowserRecorder();
    BrowserRecorder(const BrowserRecorder&) = delete;
    BrowserRecorder& operator=(const BrowserRecorder&) = delete;

    // False when the browser could not be redirected; the recorder then records nothing.
    bool Ready() const { return ready; }
    // The addresses opened so far, oldest first.
    std::vector<std::string> Pages() const;

private:
    std::string recordPath;
    std::string previousBrowsers;
    bool hadPreviousBrowsers = false;
    bool ready = false;
};
