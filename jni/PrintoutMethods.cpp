#include "jni/PrintoutMethods.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/zumbra_log.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::jni {

namespace {

// The bytes of a line's text field handed to Java: the line length of its
// font, so that the text comes with its zero fill up to that length. A line
// is laid out on the lengths in force when it was added, and a fiscal line
// on the fiscal width, so its text may be longer than the length the
// context has now: it is never cut.
std::size_t textBytes(const PrintoutCtx_s& ctx, const pr_Line& line) {
  std::uint32_t width = ctx.normalLineLen;
  if (line.fontSize == PR_FONT_SMALL) width = ctx.smallLineLen;
  if (line.fontSize == PR_FONT_BIG) width = ctx.bigLineLen;
  const char* end = std::find(line.text, line.text + PR_LINE_TEXT_MAX_LEN, '\0');
  const std::size_t text = static_cast<std::size_t>(end - line.text);
  return std::min<std::size_t>(std::max<std::size_t>(width, text), PR_LINE_TEXT_MAX_LEN);
}

pr_Dictionary phraseId(jint id) { return static_cast<pr_Dictionary>(asUnsigned(id)); }

}  // namespace

void setPhrase(JNIEnv* env, jint id, jbyteArray text) {
  const JavaBytes bytes(env, text);
  if (!bytes.available()) return;
  if (!bytes.text()) {
    logBusError("Phrase 0x%02X does not end with a NUL byte", static_cast<unsigned>(id));
    return;
  }
  pr_setDictionaryPhrase(phraseId(id), bytes.text());
}

jint setPhrases(JNIEnv* env, jintArray ids, jobjectArray texts) {
  if (!ids || !texts) return kArgumentUnavailable;
  const jsize idCount = env->GetArrayLength(ids);
  const jsize textCount = env->GetArrayLength(texts);
  std::vector<jint> numbers(static_cast<std::size_t>(idCount));
  if (idCount > 0) env->GetIntArrayRegion(ids, 0, idCount, numbers.data());
  std::vector<pr_Dictionary> phraseIds;
  phraseIds.reserve(numbers.size());
  for (jint number : numbers) phraseIds.push_back(phraseId(number));

  // Every text is held until the library has copied them all; the frame
  // keeps their arrays and is popped after the last text is released.
  const LocalFrame frame(env, textCount);
  if (!frame.pushed()) return kArgumentUnavailable;
  std::vector<std::unique_ptr<JavaBytes>> held;
  std::vector<const char*> phrases;
  held.reserve(static_cast<std::size_t>(textCount));
  phrases.reserve(static_cast<std::size_t>(textCount));
  for (jsize i = 0; i < textCount; ++i) {
    auto array = static_cast<jbyteArray>(env->GetObjectArrayElement(texts, i));
    held.push_back(std::make_unique<JavaBytes>(env, array));
    if (!held.back()->available()) return kArgumentUnavailable;
    if (!held.back()->text()) {
      logBusError("Text %d of the phrases does not end with a NUL byte", static_cast<int>(i));
      return kArgumentUnavailable;
    }
    phrases.push_back(held.back()->text());
  }
  return codeOf(
      pr_setupDictionary(phraseIds.data(), phraseIds.size(), phrases.data(), phrases.size()));
}

jobject readNextLineObject(JNIEnv* env, PrintoutCtx_s* prCtx) {
  const JavaConstructor printoutLine(env, "zumbra/api/EcrPrintoutLine", "(I[BIIIII)V");
  if (!printoutLine.available() || prCtx == nullptr) return nullptr;
  pr_Line line{};
  if (pr_getNextLine(prCtx, &line) != PRINTOUT_OK) return nullptr;
  const LocalRef<jbyteArray> text(env, newByteArray(env, line.text, textBytes(*prCtx, line)));
  if (!text) return nullptr;
  return printoutLine.construct(static_cast<jint>(line.id), text.get(),
                                static_cast<jint>(line.fontSize), static_cast<jint>(line.negative),
                                static_cast<jint>(line.lineType),
                                static_cast<jint>(line.pictureType), static_cast<jint>(line.bold));
}

}  // namespace zq::app::jni
