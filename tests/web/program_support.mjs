// Bringing a program into the page and taking it out as a user does, by events the
// page cannot tell from real ones: a file or a text dropped on the diagram, the
// clipboard pasted on it, Ctrl+C on it.

// Drops a file (its bytes given as an array of numbers or a string) on a client pixel.
export async function dropFile(page, name, content, at = [400, 300]) {
  await page.evaluate((name, content, [x, y]) => {
    const bytes = typeof content === "string" ? new TextEncoder().encode(content)
                                              : new Uint8Array(content);
    const data = new DataTransfer();
    data.items.add(new File([bytes], name, { type: "text/plain" }));
    const target = document.elementFromPoint(x, y);
    const init = { bubbles: true, cancelable: true, clientX: x, clientY: y };
    // Firefox gives a constructed event a DataTransfer of its own: the data goes on
    // the event itself, as every engine then reads it.
    const carrying = (event) => Object.defineProperty(event, "dataTransfer", { value: data });
    target.dispatchEvent(carrying(new DragEvent("dragenter", init)));
    target.dispatchEvent(carrying(new DragEvent("dragover", init)));
    target.dispatchEvent(carrying(new DragEvent("drop", init)));
  }, name, content, at);
  await settle(page);
}

export async function dropText(page, text, at = [400, 300]) {
  await page.evaluate((text, [x, y]) => {
    const data = new DataTransfer();
    data.setData("text/plain", text);
    const init = { bubbles: true, cancelable: true, clientX: x, clientY: y };
    const target = document.elementFromPoint(x, y);
    const carrying = (event) => Object.defineProperty(event, "dataTransfer", { value: data });
    target.dispatchEvent(carrying(new DragEvent("dragover", init)));
    target.dispatchEvent(carrying(new DragEvent("drop", init)));
  }, text, at);
  await settle(page);
}

// Ctrl+V where the keyboard focus is (the page itself when no field has it).
export async function paste(page, text) {
  await page.evaluate((text) => {
    const data = new DataTransfer();
    data.setData("text/plain", text);
    const event = new ClipboardEvent("paste", { bubbles: true, cancelable: true });
    Object.defineProperty(event, "clipboardData", { value: data }); // as in dropFile
    (document.activeElement || document.body).dispatchEvent(event);
  }, text);
  await settle(page);
}

// What Ctrl+C where the keyboard focus is puts on the clipboard; null for nothing.
export async function copied(page) {
  return page.evaluate(() => {
    const data = new DataTransfer();
    const event = new ClipboardEvent("copy", { bubbles: true, cancelable: true });
    Object.defineProperty(event, "clipboardData", { value: data }); // as in dropFile
    (document.activeElement || document.body).dispatchEvent(event);
    return event.defaultPrevented ? data.getData("text/plain") : null;
  });
}

// A dropped file is read without waiting; a few frames let it arrive.
async function settle(page) {
  await page.evaluate(() => new Promise((done) => setTimeout(done, 50)));
}

export async function errorText(page) {
  return page.evaluate(() => document.querySelector("dialog[open] #error-text")?.textContent ?? null);
}

export async function closeError(page) {
  await page.evaluate(() => document.getElementById("error-box").close());
}
