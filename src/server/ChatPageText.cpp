#include "ChatPageText.h"

using namespace Qt::StringLiterals;

QByteArray JsonString(const QString &text)
{
    QByteArray json = "\"";
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'"' || unit == u'\\')
            json += '\\' + QByteArray(1, static_cast<char>(unit));
        else if (unit < 0x20 || unit > 0x7E || unit == u'<' || unit == u'>' || unit == u'&')
            json += "\\u" + QByteArray::number(unit, 16).rightJustified(4, '0');
        else
            json += static_cast<char>(unit);
    }
    return json + '"';
}

QByteArray ChatMessagesJson(const QList<CChatMessage> &messages, const QString &ended)
{
    QByteArray json = "{\"messages\":[";
    for (const CChatMessage &message : messages) {
        if (!json.endsWith('['))
            json += ',';
        json += "{\"id\":" + QByteArray::number(message.m_id)
            + ",\"time\":" + JsonString(message.m_time.toString(u"HH:mm:ss"_s)) + ",\"from\":"
            + JsonString(message.m_senderName) + ",\"text\":" + JsonString(message.m_text) + '}';
    }
    return json + "],\"ended\":" + JsonString(ended) + '}';
}

QByteArray ChatPostJson(qint64 id, const QString &refused)
{
    return "{\"id\":" + QByteArray::number(id) + ",\"refused\":" + JsonString(refused) + '}';
}

// Every message is put on the page as text (textContent), never as markup. A wait answered
// empty (its time was up, or another page of the same user took its place) is asked again a
// second later, so two such pages take turns instead of displacing each other at once.
QByteArray ChatPageText(const QString &key)
{
    return "<!DOCTYPE html>\n"
           "<html><head><meta charset=\"utf-8\"><title>Vantro Chat</title>\n"
           "<style>\n"
           "body{font:14px sans-serif;margin:0;display:flex;flex-direction:column;height:100vh}\n"
           "#log{flex:1;overflow-y:auto;padding:6px;white-space:pre-wrap;overflow-wrap:anywhere}\n"
           "#log .time{color:#777}#log .from{font-weight:bold}#log .notice{color:#a00}\n"
           "#note{color:#a00;padding:0 6px}\n"
           "form{display:flex;gap:4px;padding:6px}#text{flex:1}\n"
           "</style></head>\n"
           "<body><div id=\"log\"></div><div id=\"note\"></div>\n"
           "<form id=\"form\"><input id=\"text\" maxlength=\"1000\" autocomplete=\"off\" autofocus>"
           "<button id=\"send\">Send</button></form>\n"
           "<script>\n"
           "var key = "
        + JsonString(key)
        + ", after = 0, ended = false\n"
          "var log = document.getElementById(\"log\"), note = document.getElementById(\"note\")\n"
          "var form = document.getElementById(\"form\"), text = document.getElementById(\"text\")\n"
          "function part(line, kind, value) {\n"
          "  var span = document.createElement(\"span\")\n"
          "  span.className = kind\n"
          "  span.textContent = value\n"
          "  line.appendChild(span)\n"
          "}\n"
          "function show(message) {\n"
          "  var line = document.createElement(\"div\")\n"
          "  line.className = message.from ? \"message\" : \"message notice\"\n"
          "  part(line, \"time\", \"[\" + message.time + \"] \")\n"
          "  if (message.from) part(line, \"from\", message.from + \": \")\n"
          "  part(line, \"text\", message.text)\n"
          "  log.appendChild(line)\n"
          "  log.scrollTop = log.scrollHeight\n"
          "}\n"
          "function end(why) {\n"
          "  ended = true\n"
          "  note.textContent = why\n"
          "  text.disabled = true\n"
          "  document.getElementById(\"send\").disabled = true\n"
          "}\n"
          "function wait() {\n"
          "  fetch(\"VU\" + key + \"_\" + after + \".htm\", {cache: \"no-store\"})\n"
          "    .then(function (answer) { return answer.json() })\n"
          "    .then(function (answer) {\n"
          "      answer.messages.forEach(function (message) {\n"
          "        if (message.id > after) { after = message.id; show(message) }\n"
          "      })\n"
          "      if (answer.ended) end(answer.ended)\n"
          "      else setTimeout(wait, answer.messages.length ? 0 : 1000)\n"
          "    }, function () { if (!ended) setTimeout(wait, 2000) })\n"
          "}\n"
          "function base64url(value) {\n"
          "  var bytes = new TextEncoder().encode(value), binary = \"\"\n"
          "  for (var i = 0; i < bytes.length; i++) binary += String.fromCharCode(bytes[i])\n"
          "  return btoa(binary).replace(/\\+/g, \"-\").replace(/\\//g, \"_\").replace(/=+$/, "
          "\"\")\n"
          "}\n"
          "form.onsubmit = function (event) {\n"
          "  event.preventDefault()\n"
          "  var value = text.value\n"
          "  if (ended || !value.trim()) return\n"
          "  fetch(\"VM\" + key + \"_\" + base64url(value) + \".htm\", {cache: \"no-store\"})\n"
          "    .then(function (answer) { return answer.json() })\n"
          "    .then(function (answer) {\n"
          "      note.textContent = answer.refused\n"
          "      if (!answer.refused) text.value = \"\"\n"
          "    }, function () { note.textContent = \"Not sent: the server did not answer.\" })\n"
          "}\n"
          "wait()\n"
          "</script></body></html>\n";
}
