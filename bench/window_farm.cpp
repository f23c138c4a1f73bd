// The benchmark's crowd: a process that owns many titled top-level windows,
// like a busy desktop with documents, browser tabs, dashboards and tools open.
//
//   window_farm <ready-event> <quit-event> <count> [seed]
//
// Titles are 10 to 110 characters long and the same for the same count and
// seed, so every run walks the same desktop. Every eighth window is shown
// (without activation), the others are hidden, as tool and background windows
// are. The program signals the ready event once all windows exist, then
// dispatches messages (titles are read and changed through them) until the
// quit event is set, at most 15 minutes.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace
{
// A small deterministic generator (xorshift32): the same titles on every run.
class CTitleRandom
{
public:
    explicit CTitleRandom(unsigned nSeed) : m_nState(nSeed * 2654435761u + 0x9E3779B9u)
    {
        if (m_nState == 0)
            m_nState = 1;
    }

    unsigned Next()
    {
        m_nState ^= m_nState << 13;
        m_nState ^= m_nState >> 17;
        m_nState ^= m_nState << 5;
        return m_nState;
    }

    unsigned Below(unsigned nLimit) { return Next() % nLimit; }

    template <size_t N>
    const char* Pick(const char* const (&apszChoices)[N])
    {
        return apszChoices[Below(N)];
    }

private:
    unsigned m_nState;
};

const char* const WORDS[] = {
    "Quarterly",  "report",   "budget",  "review",   "draft",    "final",   "minutes",  "roadmap",
    "release",    "notes",    "customer", "invoice", "March",    "2026",    "team",     "offsite",
    "proposal",   "contract", "summary", "planning", "incident", "postmortem", "design", "draft",
    "onboarding", "checklist", "sales",  "forecast", "Q3",       "meeting", "agenda",   "backlog",
    "migration",  "storage",  "cluster", "pricing",  "update",   "status",  "weekly",   "v2"};

const char* const EXTENSIONS[] = {"docx", "xlsx", "pptx", "pdf", "txt", "md", "csv", "vsdx"};
const char* const EDITORS[] = {"Word", "Excel", "PowerPoint", "Adobe Acrobat Reader", "Notepad",
                               "Visual Studio Code", "LibreOffice Calc", "Visio"};
const char* const BROWSERS[] = {"Mozilla Firefox", "Google Chrome", "Microsoft Edge"};
const char* const SITES[] = {"Wikipedia", "GitHub", "Stack Overflow", "YouTube", "Jira", "Confluence",
                             "Google Docs", "The Guardian", "MDN Web Docs"};
const char* const TOOLS[] = {"Grafana", "Kibana", "Datadog", "Zabbix", "Nagios", "Prometheus"};
const char* const SERVICES[] = {"payments-api", "checkout", "auth-service", "search", "billing-db",
                                "edge-proxy", "queue-workers", "cdn"};
const char* const METRICS[] = {"p99 latency", "error rate", "CPU usage", "disk I/O", "requests per second",
                               "memory", "saturation"};
const char* const ENVIRONMENTS[] = {"production", "staging", "eu-west-1", "us-east-2", "canary"};
const char* const HOSTS[] = {"build01", "db-primary", "web-03", "jumphost", "ci-runner-7"};
const char* const SHORT_TITLES[] = {"Calculator", "Task Manager", "Untitled - Paint", "Sticky Notes",
                                    "Settings - Display", "Volume Mixer", "Snipping Tool",
                                    "Device Manager", "Event Viewer", "Command Prompt"};

// Words joined by blanks until the text holds at least nLength characters.
std::string Phrase(CTitleRandom& random, size_t nLength)
{
    std::string strPhrase = random.Pick(WORDS);
    strPhrase[0] = static_cast<char>(toupper(static_cast<unsigned char>(strPhrase[0])));
    while (strPhrase.size() < nLength)
    {
        strPhrase += ' ';
        strPhrase += random.Pick(WORDS);
    }
    return strPhrase;
}

// One realistic title of exactly the drawn length (10 to 110): a document in
// its editor, a browser tab, a monitoring dashboard, a mail box, a terminal,
// or a short tool window (those keep their own, shorter length).
std::string MakeTitle(unsigned nIndex, unsigned nSeed)
{
    CTitleRandom random(nIndex * 7919u + nSeed);
    size_t nLength = 10 + random.Below(101);
    std::string strHead, strTail;
    switch (random.Below(6))
    {
    case 0:
        strTail = std::string(".") + random.Pick(EXTENSIONS) + " - " + random.Pick(EDITORS);
        break;
    case 1:
        strTail = std::string(" - ") + random.Pick(SITES) + " - " + random.Pick(BROWSERS);
        break;
    case 2:
        strHead = std::string(random.Pick(TOOLS)) + " - " + random.Pick(SERVICES) + " / ";
        strTail = std::string(" - ") + random.Pick(METRICS) + " (" + random.Pick(ENVIRONMENTS) + ")";
        break;
    case 3:
        strHead = "Inbox (" + std::to_string(random.Below(400)) + ") - ";
        strTail = "@example.com - Outlook";
        break;
    case 4:
        strHead = std::string("admin@") + random.Pick(HOSTS) + ": ~/src/";
        break;
    default:
        return random.Pick(SHORT_TITLES);
    }
    std::string strTitle;
    if (strHead.size() + strTail.size() + 3 <= nLength)
        strTitle = strHead + Phrase(random, nLength - strHead.size() - strTail.size()).substr(
                                 0, nLength - strHead.size() - strTail.size()) + strTail;
    else
        strTitle = (strHead + Phrase(random, nLength) + strTail).substr(0, nLength);
    // A title cut inside the phrase ends in a full stop rather than a blank.
    if (strTitle.back() == ' ')
        strTitle.back() = '.';
    return strTitle;
}

// Dispatches the windows' messages until hQuit is set (0) or the time is up (5).
int ServeUntil(HANDLE hQuit, ULONGLONG nMilliseconds)
{
    for (const ULONGLONG nEnd = GetTickCount64() + nMilliseconds; GetTickCount64() < nEnd;)
    {
        if (MsgWaitForMultipleObjects(1, &hQuit, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0)
            return 0;
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    return 5;
}
}

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    int nCount = atoi(argv[3]);
    unsigned nSeed = argc > 4 ? static_cast<unsigned>(strtoul(argv[4], nullptr, 10)) : 1u;
    if (nCount < 0)
        return 2;

    // The windows need nothing beyond the default procedure.
    WNDCLASSEXA wc = {sizeof wc, 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr,
                      reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "GyrovanterBenchFarm", nullptr};
    if (!RegisterClassExA(&wc))
        return 3;
    for (int i = 0; i < nCount; ++i)
    {
        std::string strTitle = MakeTitle(static_cast<unsigned>(i), nSeed);
        HWND hWnd = CreateWindowExA(0, wc.lpszClassName, strTitle.c_str(), WS_OVERLAPPEDWINDOW,
                                    20 + (i % 40) * 12, 20 + (i % 30) * 10, 480, 300, nullptr, nullptr,
                                    wc.hInstance, nullptr);
        if (hWnd == nullptr)
            return 3;
        if (i % 8 == 0)
            ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    }

    HANDLE hQuit = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    HANDLE hReady = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (hQuit == nullptr || hReady == nullptr || !SetEvent(hReady))
        return 4;
    return ServeUntil(hQuit, 15 * 60 * 1000);
}
