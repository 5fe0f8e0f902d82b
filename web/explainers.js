// The explainers inside the page. A click on a block, a gate or a listing line opens
// that element's explainer in a window of the page: a title bar with the program's
// title and a close button, movable by the title bar, and a canvas on which the
// scene (web/explain_exports.cpp) draws the same pixels as on the desktop. The
// windows are not modal: the simulator and its clock go on beside them. Several may
// be open; a click on an element whose explainer is open brings it to the front.
// Escape closes the front one. Keys in a window go to its scene: Tab and Shift+Tab
// move the focus over its controls and on out of it past the last (or the first),
// Space and Enter press the one with the focus; what a step did is said through the
// page's live region. Opened from the diagram, a scene follows the student's machine:
// the module hands it the machine after each update, and the page repaints it. A window is shown at the diagram's scale, beside
// the diagram where there is room, and never leaves the screen.
// The page's other windows ("Časový diagram") are made by the same frame().
"use strict";

window.procesorExplainers = (function () {
  let m = null;             // the module's exports, once ready
  const open = new Map();   // command -> the open window
  let order = 0;            // stacking: the front window has the highest number
  const kKeys = { Tab: 0, " ": 2, Enter: 3, ArrowLeft: 4, ArrowRight: 5, ArrowUp: 6,
                  ArrowDown: 7 };

  // A window grows and shrinks with the diagram: its scene is shown at the diagram's
  // scale (device pixels per picture pixel), as large as the page's window leaves room
  // for, by the module's one rule: a whole factor, each pixel a sharp square, or the
  // scene made to that size, each device pixel averaged from the pixels under it.
  const kFrameWidth = 4, kFrameHeight = 24; // CSS pixels of the border and the title bar
  function diagramScale() {
    const stage = document.getElementById("stage");
    const diagram = document.getElementById("diagram");
    const ratio = window.devicePixelRatio || 1;
    const width = stage ? stage.getBoundingClientRect().width : 0;
    return diagram && diagram.width && width ? width * ratio / diagram.width : 1;
  }
  function fitCanvas(w) {
    const ratio = window.devicePixelRatio || 1;
    const scale = diagramScale();
    const roomX = Math.min(Math.floor(w.width * scale),
                           Math.floor((document.documentElement.clientWidth - kFrameWidth) * ratio));
    const roomY = Math.min(Math.floor(w.height * scale),
                           Math.floor((window.innerHeight - kFrameHeight) * ratio));
    const fitted = m._explain_fit(w.handle, roomX, roomY);
    const [width, height, factor] = new Int32Array(m.HEAP32.buffer, fitted, 3);
    w.sharp = factor > 0;
    const [canvasWidth, canvasHeight] = w.sharp ? [w.width, w.height] : [width, height];
    if (w.canvas.width !== canvasWidth || w.canvas.height !== canvasHeight) {
      w.canvas.width = canvasWidth;
      w.canvas.height = canvasHeight;
    }
    w.canvas.style.width = width / ratio + "px";
    w.canvas.style.height = height / ratio + "px";
    w.whole = true; // drawn whole at the next paint
  }

  // The window kept on the screen, its title bar and its foot too.
  function keepOnScreen(w, left, top) {
    const e = w.element;
    const x = Math.max(0, Math.min(left, document.documentElement.clientWidth - e.offsetWidth));
    const y = Math.max(0, Math.min(top, window.innerHeight - e.offsetHeight));
    e.style.left = x + "px";
    e.style.top = y + "px";
  }

  // A new window beside the diagram where there is room for it, each one lower than the
  // last; otherwise a little lower and further right than the last, over the diagram.
  function place(w) {
    const step = 24 * ((open.size + 7) % 8);
    const tools = document.getElementById("tools");
    const stage = document.getElementById("stage");
    const right = Math.max(stage ? stage.getBoundingClientRect().right : 0,
                           tools && tools.offsetParent ? tools.getBoundingClientRect().right : 0);
    if (document.documentElement.clientWidth - right - 8 >= w.element.offsetWidth)
      keepOnScreen(w, right + 8, 8 + step);
    else
      keepOnScreen(w, 40 + step, 40 + step);
  }

  // What the scene's last step did, said by the page's live region when it changes.
  function say(w) {
    const text = m.UTF8ToString(m._explain_spoken(w.handle));
    if (text === w.spoken) return;
    w.spoken = text;
    const report = document.getElementById("report");
    if (report && text !== "") report.textContent = text;
  }

  // `quiet`: a repaint after the simulator's update, which the simulator says itself.
  function paint(w, quiet) {
    const count = m._explain_render(w.handle);
    if (quiet) w.spoken = m.UTF8ToString(m._explain_spoken(w.handle));
    else say(w);
    if (count === 0 && !w.whole) return;
    const whole = w.whole;
    w.whole = false;
    if (!w.sharp) {
      const [width, height] = [w.canvas.width, w.canvas.height];
      const at = m._explain_scaled(w.handle, width, height); // may grow the memory
      const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, at, width * height * 4);
      w.context.putImageData(new ImageData(pixels, width, height), 0, 0);
      return;
    }
    const rects = whole ? [0, 0, w.width, w.height]
                        : new Int32Array(m.HEAP32.buffer, m._explain_dirty(), count * 4);
    const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, m._explain_pixels(w.handle),
                                         w.width * w.height * 4);
    const image = new ImageData(pixels, w.width, w.height);
    for (let i = 0; i < rects.length / 4; ++i)
      w.context.putImageData(image, 0, 0, rects[4 * i], rects[4 * i + 1], rects[4 * i + 2],
                             rects[4 * i + 3]);
  }

  function front() {
    let best = null;
    for (const w of open.values()) if (!best || w.order > best.order) best = w;
    return best;
  }

  function raise(w) {
    w.order = ++order;
    w.element.style.zIndex = String(1000 + w.order);
    for (const other of open.values()) other.element.classList.toggle("front", other === w);
  }

  function close(w) {
    if (!open.has(w.command)) return;
    open.delete(w.command);
    w.element.remove();
    w.closed();
    const next = front();
    if (next) {
      raise(next);
      next.element.focus();
    } else if (w.opener && w.opener.isConnected) {
      w.opener.focus(); // back where the keyboard opened it from
    }
  }

  // Tab past the window's last control (Shift+Tab before its first) leaves the window
  // as if it stood in the diagram's tab order right after the element that opened it
  // (by the keyboard or the mouse): forwards to the next stop after that element,
  // backwards to the element itself.
  function canLeave(w) {
    return Boolean(w.tabAfter && w.tabAfter.isConnected);
  }
  function leave(w, event, forward) {
    const opener = w.tabAfter;
    event.preventDefault();
    opener.focus();
    if (forward)
      opener.dispatchEvent(new KeyboardEvent("keydown", { key: "Tab", bubbles: true,
                                                          cancelable: true }));
  }

  function scenePoint(w, event) {
    const r = w.canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - r.left) * w.width / r.width),
            Math.floor((event.clientY - r.top) * w.height / r.height)];
  }

  // A window of the page: the title bar with the title and a close button, movable by
  // the bar, over a canvas of width x height pixels grown by whole device pixels;
  // closed by its button or Escape (`closed` is told). Registered under `command`.
  function frame(command, titleText, width, height, closed) {
    const w = { command, order: 0, held: false, width, height, closed };
    const element = document.createElement("div");
    element.className = "explainer";
    element.dataset.command = command;
    element.tabIndex = 0;
    element.setAttribute("role", "dialog");
    const bar = document.createElement("div");
    bar.className = "title-bar";
    const title = document.createElement("span");
    title.textContent = titleText;
    const closeButton = document.createElement("button");
    closeButton.type = "button";
    closeButton.className = "close";
    closeButton.tabIndex = -1;
    closeButton.textContent = "\u2715";
    closeButton.setAttribute("aria-label", "Zavřít");
    bar.append(title, closeButton);
    element.setAttribute("aria-label", title.textContent);
    const canvas = document.createElement("canvas");
    canvas.width = w.width;
    canvas.height = w.height;
    // The page's own windows keep their pixels, each a sharp square of whole device
    // pixels; an explainer's scene is fitted to the diagram's scale (fitCanvas).
    const ratio = window.devicePixelRatio || 1;
    const factor = Math.max(1, Math.floor(ratio + 1e-9));
    canvas.style.width = (w.width * factor / ratio) + "px";
    canvas.style.height = (w.height * factor / ratio) + "px";
    element.append(bar, canvas);
    // Drawn only by putImageData, and read back by the tests.
    const context = canvas.getContext("2d", { alpha: false, willReadFrequently: true });
    // The element the keyboard opened it from (a diagram's stop), where Escape returns.
    const opener = document.activeElement?.classList.contains("control-key")
      ? document.activeElement : null;
    Object.assign(w, { element, canvas, context, spoken: null, opener, tabAfter: opener });

    element.addEventListener("pointerdown", () => raise(w), true);
    closeButton.addEventListener("pointerdown", (event) => event.stopPropagation());
    closeButton.addEventListener("click", () => close(w));
    element.addEventListener("keydown", (event) => {
      if (event.key !== "Escape") return;
      event.preventDefault();
      event.stopPropagation();
      close(w);
    });

    // Moved by the title bar; the bar never leaves the page entirely.
    bar.addEventListener("pointerdown", (event) => {
      if (event.button !== 0 || event.target === closeButton) return;
      event.preventDefault();
      bar.setPointerCapture(event.pointerId);
      const startX = event.clientX - element.offsetLeft;
      const startY = event.clientY - element.offsetTop;
      const move = (e) => {
        const x = Math.max(40 - element.offsetWidth, Math.min(e.clientX - startX, innerWidth - 40));
        const y = Math.max(0, Math.min(e.clientY - startY, innerHeight - 20));
        element.style.left = x + "px";
        element.style.top = y + "px";
      };
      const done = () => {
        bar.removeEventListener("pointermove", move);
        bar.removeEventListener("pointerup", done);
        bar.removeEventListener("pointercancel", done);
        element.focus();
      };
      bar.addEventListener("pointermove", move);
      bar.addEventListener("pointerup", done);
      bar.addEventListener("pointercancel", done);
    });
    return w;
  }

  function create(command, handle, kind, number) {
    const w = frame(command, m.UTF8ToString(m._explain_title(handle)), m._explain_width(handle),
                    m._explain_height(handle), () => m._explain_close(handle));
    w.handle = handle;
    w.tabAfter = document.getElementById((kind === 1 ? "Label" : "Image") + number) || w.opener;
    const { element, canvas } = w;

    canvas.addEventListener("pointerdown", (event) => {
      if (!event.isPrimary || event.button !== 0 || w.held) return;
      event.preventDefault();
      element.focus();
      canvas.setPointerCapture(event.pointerId);
      w.held = true;
      m._explain_mouse_down(handle, ...scenePoint(w, event));
      paint(w);
    });
    canvas.addEventListener("pointermove", (event) => {
      if (!w.held || !event.isPrimary) return;
      m._explain_mouse_move(handle, ...scenePoint(w, event));
      paint(w);
    });
    const up = (event, at) => {
      if (!w.held || !event.isPrimary) return;
      w.held = false;
      m._explain_mouse_up(handle, ...at);
      paint(w);
    };
    canvas.addEventListener("pointerup", (event) => up(event, scenePoint(w, event)));
    canvas.addEventListener("pointercancel", (event) => up(event, [-1, -1]));

    element.addEventListener("keydown", (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey) return;
      let key = kKeys[event.key];
      if (key === undefined) return;
      if (key === 0 && event.shiftKey) key = 1;
      if (key <= 1) {
        // The scene's focus goes round its controls; where it would wrap, the window is
        // left instead and the scene's focus stays where it was.
        const before = m._explain_focus(handle);
        m._explain_key(handle, key);
        const after = m._explain_focus(handle);
        const wrapped = before < 0 || after < 0 || (key === 0 ? after <= before : after >= before);
        const leaving = wrapped && canLeave(w);
        if (leaving && before >= 0 && after >= 0) m._explain_key(handle, 1 - key);
        paint(w);
        if (leaving) leave(w, event, key === 0);
        else event.preventDefault();
        return;
      }
      event.preventDefault();
      if ((key === 2 || key === 3) && event.repeat) return;
      m._explain_key(handle, key);
      paint(w);
    });

    document.body.append(element);
    fitCanvas(w);
    paint(w);
    return w;
  }

  // A window of the page's own (not an explainer's) under `command`: made by
  // make(frame) the first time, brought to the front and given the focus each time.
  function openOwn(command, make) {
    let w = open.get(command);
    if (!w) {
      w = make((title, width, height, closed) => frame(command, title, width, height, closed));
      open.set(command, w);
      place(w);
    }
    raise(w);
    w.element.focus();
    return w;
  }

  // Escape anywhere in the page closes the front window, unless the error box is up.
  document.addEventListener("keydown", (event) => {
    if (event.key !== "Escape" || event.defaultPrevented || open.size === 0) return;
    if (document.querySelector("dialog[open]")) return;
    event.preventDefault();
    close(front());
  });

  // The diagram fitted anew (a resize, a change of zoom, "1:1", the full screen): each
  // window with it, kept on the screen.
  function refit() {
    for (const w of open.values()) {
      if (w.handle !== undefined) {
        fitCanvas(w);
        paint(w);
      }
      keepOnScreen(w, w.element.offsetLeft, w.element.offsetTop);
    }
  }
  window.addEventListener("resize", () => requestAnimationFrame(refit));

  return Object.freeze({
    // Called by the page once the module is ready.
    attach(module) {
      m = module;
    },
    // Called by the page whenever it fitted the diagram anew.
    refit: () => m && refit(),
    // Called by the page after each update: what changed in each explainer drawn.
    repaint() {
      if (m) for (const w of open.values()) if (w.handle !== undefined) paint(w, true);
    },
    // The explainer of a diagram element (kind 0 Image, 1 Label): brought to the
    // front if it is open, opened on the element otherwise. Returns its command, or
    // "" when the element has none. `alone` (for the tests of the scenes' own frames):
    // the scene on its own machine, as the desktop's program started by itself.
    openFor(kind, number, alone) {
      if (!m) return "";
      const command = m.UTF8ToString(m._explain_command_for(kind, number));
      if (command === "") return "";
      let w = open.get(command);
      if (!w) {
        const handle = m._explain_open(kind, number, alone ? 0 : 1);
        if (!handle) return "";
        w = create(command, handle, kind, number);
        open.set(command, w);
        place(w);
      }
      raise(w);
      w.element.focus();
      return command;
    },
    // For the tests: whether an element's explainer exists in this build; the open
    // windows' commands, back to front.
    openOwn,
    hasScene: (kind, number) => m._explain_has_scene(kind, number) !== 0,
    list: () => [...open.values()].sort((a, b) => a.order - b.order).map((w) => w.command),
  });
})();
