#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/LinkTarget.h"

namespace korvane::platform {
namespace {

using Kind = LinkTarget::Kind;

struct LinkCase {
    const char* link;
    Kind kind;
    const char* target;
};

// Paths that exist on the pretend machine of these cases.
const std::set<std::string> kExisting{"offer.html", "docs\\price list.pdf", "www.acme.example"};

TEST(InterpretLink, ReadsWhatTheUserMeans)
{
    const LinkCase cases[] = {
        {"", Kind::None, ""},
        {"  \t", Kind::None, ""},
        {"www.acme.example/bmi", Kind::WebAddress, "http://www.acme.example/bmi"},
        {"acme.example:8080/bmi", Kind::WebAddress, "http://acme.example:8080/bmi"},
        {"localhost:8080", Kind::WebAddress, "http://localhost:8080"},
        {"https://acme.example/bmi calculator", Kind::WebAddress, "https://acme.example/bmi%20calculator"},
        {" https://acme.example/ ", Kind::WebAddress, "https://acme.example/"},
        {"https://acme.example/a?q=1&r=2#top", Kind::WebAddress, "https://acme.example/a?q=1&r=2#top"},
        {"https://acme.example/%7Euser/100%", Kind::WebAddress, "https://acme.example/%7Euser/100%25"},
        {"https://acme.example/\"<x>\"|{}^`\\", Kind::WebAddress,
         "https://acme.example/%22%3Cx%3E%22%7C%7B%7D%5E%60%5C"},
        {"https://acme.example/b\xC3\xBC"
         "cher",
         Kind::WebAddress, "https://acme.example/b%C3%BCcher"},
        {"mailto:sales@acme.example", Kind::WebAddress, "mailto:sales@acme.example"},
        {"offer.html", Kind::LocalPath, "offer.html"},
        {"docs\\price list.pdf", Kind::LocalPath, "docs\\price list.pdf"},
        {"www.acme.example", Kind::LocalPath, "www.acme.example"},
        {"missing.html", Kind::WebAddress, "http://missing.html"},
        {"/opt/brand/two words.pdf", Kind::LocalPath, "/opt/brand/two words.pdf"},
        {"C:\\brand\\offer.html", Kind::LocalPath, "C:\\brand\\offer.html"},
    };
    const auto exists = [](const std::string& path) { return kExisting.contains(path); };
    for (const LinkCase& c : cases) {
        EXPECT_EQ(InterpretLink(c.link, exists), (LinkTarget{c.kind, c.target})) << "link: \"" << c.link << '"';
    }
}

TEST(InterpretLink, DescribesTheTargetInOneLine)
{
    const auto none = [](const std::string&) { return false; };
    EXPECT_EQ(DescribeLinkTarget(InterpretLink("acme.example", none)), "web address http://acme.example");
    EXPECT_EQ(DescribeLinkTarget(InterpretLink("/srv/offer.html", none)), "local path /srv/offer.html");
    EXPECT_EQ(DescribeLinkTarget(InterpretLink("", none)), "nothing to open");
}

}  // namespace
}  // namespace korvane::platform
