// The page's side of the browser platform, run before the program starts:
// the command line from the address, the saved files on IndexedDB, the
// canvas, Web Audio, the file picker, and the step mode the browser test
// drives. platform/platform_web*.cpp call the functions set up here.
var Tessmar = (function () {
  var query = new URLSearchParams(location.search);
  var T = {
    // ?step=1: the game's virtual clock goes only as far as granted
    // (tessmarGrant); `blocked` while it waits there at `clock`.
    step: query.get('step') === '1',
    granted: 0,
    clock: 0,
    blocked: false,
    today: query.get('today') || '',
    firstFrameMs: -1,
    presentTimes: [],
    notes: [],
    ended: false,
  };

  // What the browser cannot give is said once, under the picture.
  T.note = function (text) {
    if (T.notes.indexOf(text) >= 0) return;
    T.notes.push(text);
    console.log('tessmar: ' + text);
    var box = document.getElementById('notes');
    if (box) {
      var line = document.createElement('div');
      line.textContent = text;
      box.appendChild(line);
    }
  };

  // The command line: ?language=ja|en and ?seed=N.
  var args = [];
  var language = query.get('language');
  if (language === 'ja' || language === 'en') args.push('--language', language);
  var seed = query.get('seed');
  if (seed !== null && /^[0-9]+$/.test(seed)) args.push('--seed', seed);
  Module['arguments'] = args;

  // The canvas shows the picture at the largest whole scale that fits the
  // page (in the screen's own pixels), or with FIT as large as fits at any
  // factor: drawn at the whole scale above it and smoothed down, so every
  // pixel stays the same size.
  var canvas = null, context = null, picture = null, pictureContext = null;
  T.fit = false;
  function layout(w, h) {
    var ratio = window.devicePixelRatio || 1;
    var areaW = Math.max(1, Math.floor(window.innerWidth * ratio));
    var areaH = Math.max(1, Math.floor(window.innerHeight * ratio));
    var factor = Math.min(areaW / w, areaH / h);
    var whole = Math.max(1, Math.floor(factor));
    var backing = T.fit && factor > whole ? whole + 1 : whole;
    if (canvas.width !== w * backing || canvas.height !== h * backing) {
      canvas.width = w * backing;
      canvas.height = h * backing;
    }
    var shown = T.fit && factor >= 1 ? factor : whole;
    canvas.style.width = (w * shown / ratio) + 'px';
    canvas.style.height = (h * shown / ratio) + 'px';
    canvas.style.imageRendering = shown === backing ? 'pixelated' : 'auto';
    context.imageSmoothingEnabled = false;
  }
  T.present = function (pixels, w, h) {
    if (canvas === null) {
      canvas = document.getElementById('canvas');
      context = canvas.getContext('2d', {alpha: false});
      picture = document.createElement('canvas');
      pictureContext = picture.getContext('2d', {alpha: false});
    }
    if (picture.width !== w || picture.height !== h) {
      picture.width = w;
      picture.height = h;
    }
    pictureContext.putImageData(new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4), w, h), 0, 0);
    layout(w, h);
    context.drawImage(picture, 0, 0, canvas.width, canvas.height);
    var now = performance.now();
    if (T.firstFrameMs < 0) {
      T.firstFrameMs = now;
      var hint = document.getElementById('loading');
      if (hint) hint.remove();
    }
    T.presentTimes.push(now);
    if (T.presentTimes.length > 4000) T.presentTimes.splice(0, 2000);
  };
  // Frames shown from `fromMs` on and their mean period (for the speed script).
  T.pacing = function (fromMs) {
    var times = T.presentTimes.filter(function (t) { return t >= fromMs; });
    var mean = times.length > 1 ? (times[times.length - 1] - times[0]) / (times.length - 1) : 0;
    return {frames: times.length, meanPeriodMs: mean};
  };

  // Step mode: the test grants the clock up to a time and reads the picture.
  window.tessmarGrant = function (ms) { T.granted = ms; };
  window.tessmarPicture = function () {
    if (canvas === null) return null;
    var data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    var text = '';
    for (var i = 0; i < data.length; i += 0x8000)
      text += String.fromCharCode.apply(null, data.subarray(i, Math.min(data.length, i + 0x8000)));
    return {width: canvas.width, height: canvas.height, rgba: btoa(text)};
  };

  // The files of the home folder (records, settings, replays, the day's
  // missions) live in IndexedDB: read before the program starts, written
  // back after every change, one write-back at a time.
  T.storage = false;
  var syncing = false, syncAgain = false;
  function syncOut() {
    if (!T.storage) return;
    if (syncing) {
      syncAgain = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, function (error) {
      syncing = false;
      if (error) T.note('The records could not be saved in this browser\'s storage.');
      if (syncAgain) {
        syncAgain = false;
        syncOut();
      }
    });
  }
  var syncPending = false;
  function changed(path) {
    if (!T.storage || syncPending || !String(path).startsWith(HOME)) return;
    syncPending = true;
    setTimeout(function () {
      syncPending = false;
      syncOut();
    }, 0);
  }
  T.syncOut = syncOut;
  T.syncBusy = function () { return syncing || syncPending; };
  var HOME = '/home/web_user';

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    // The program's folder, where the game looks for its data (gamedata/).
    try {
      FS.mkdirTree('/proc/self');
      FS.symlink('/tessmar/tessmar', '/proc/self/exe');
    } catch (e) {}
    var write = FS.write, rename = FS.rename, unlink = FS.unlink, close = FS.close;
    FS.write = function (stream) {
      var r = write.apply(FS, arguments);
      changed(stream.path);
      return r;
    };
    FS.close = function (stream) {
      var r = close.apply(FS, arguments);
      changed(stream.path);
      return r;
    };
    FS.rename = function (from, to) {
      var r = rename.apply(FS, arguments);
      changed(to);
      return r;
    };
    FS.unlink = function (path) {
      var r = unlink.apply(FS, arguments);
      changed(path);
      return r;
    };
    var idb = null;
    try {
      idb = window.indexedDB;
    } catch (e) {}
    if (!idb) {
      T.note('This browser keeps no files here (private window?): records and settings last until the page closes.');
      return;
    }
    FS.mount(IDBFS, {}, HOME);
    addRunDependency('tessmar-storage');
    FS.syncfs(true, function (error) {
      if (error) T.note('This browser\'s storage could not be read: records and settings last until the page closes.');
      else T.storage = true;
      removeRunDependency('tessmar-storage');
    });
  });

  // Sounds through Web Audio. Browsers start audio only after a key or a
  // click on the page, so the context is resumed on the first one.
  var audio = null;
  T.audioRefused = false;
  function audioContext() {
    if (audio !== null || T.audioRefused) return audio;
    try {
      var Context = window.AudioContext || window.webkitAudioContext;
      audio = new Context();
    } catch (e) {
      audio = null;
    }
    if (audio === null) {
      T.audioRefused = true;
      T.note('This browser gives the page no sound: the game plays silent.');
      return null;
    }
    T.tuneGain = audio.createGain();
    T.soundGain = audio.createGain();
    T.tuneGain.connect(audio.destination);
    T.soundGain.connect(audio.destination);
    T.tuneGain.gain.value = T.tuneVolume;
    T.soundGain.gain.value = T.soundVolume;
    return audio;
  }
  T.tuneVolume = 1;
  T.soundVolume = 1;
  function resumeAudio() {
    var a = audioContext();
    if (a && a.state === 'suspended') a.resume();
  }
  window.addEventListener('keydown', resumeAudio, true);
  window.addEventListener('mousedown', resumeAudio, true);
  window.addEventListener('touchstart', resumeAudio, true);

  // Decoded sounds and tunes by number; a play before the decode finished
  // waits for it.
  T.buffers = [];
  T.decode = function (pointer, length, onDone) {
    var id = T.buffers.length;
    T.buffers.push(null);
    var a = audioContext();
    if (a === null) return id;
    var bytes = HEAPU8.slice(pointer, pointer + length).buffer;
    a.decodeAudioData(bytes, function (buffer) {
      T.buffers[id] = buffer;
      if (onDone) onDone(buffer);
    }, function () {
      T.note('This browser cannot decode one of the game\'s sounds.');
    });
    return id;
  };
  T.setVolumes = function (tune, sounds) {
    T.tuneVolume = tune;
    T.soundVolume = sounds;
    if (audio === null) return;
    T.tuneGain.gain.setValueAtTime(tune, audio.currentTime);
    T.soundGain.gain.setValueAtTime(sounds, audio.currentTime);
  };

  // Short sounds: at most eight at once; the oldest fades out quickly for a new one.
  var SoundChannels = 8, CutFade = 0.008;
  var playing = [];
  T.playSound = function (id, rate) {
    var a = audioContext(), buffer = T.buffers[id];
    if (a === null || !buffer || a.state !== 'running') return;
    playing = playing.filter(function (p) { return p.end > a.currentTime; });
    if (playing.length >= SoundChannels) {
      var oldest = playing.shift();
      oldest.gain.gain.setTargetAtTime(0, a.currentTime, CutFade / 3);
      oldest.source.stop(a.currentTime + CutFade);
    }
    var source = a.createBufferSource();
    var gain = a.createGain();
    source.buffer = buffer;
    source.playbackRate.value = rate;
    source.connect(gain);
    gain.connect(T.soundGain);
    source.start();
    playing.push({source: source, gain: gain, end: a.currentTime + buffer.duration / rate});
  };
  T.stopSounds = function () {
    playing.forEach(function (p) { p.source.stop(); });
    playing = [];
  };

  // The tune: two arrangements, each looping over its period. A change of
  // arrangement while one plays is made on its next line: the one playing
  // fades out by the line and the other starts on it.
  var TuneFade = 0.4, SwitchFade = 0.19;
  var tunes = [{id: -1, loop: 0}, {id: -1, loop: 0}];
  var tune = {playing: false, which: 0, wanted: false, source: null, gain: null, startedAt: 0};
  T.tuneOpen = function (slot, id, loopFrames) {
    tunes[slot] = {id: id, loop: loopFrames / 44100};
  };
  function startTune(which, when) {
    var a = audio, t = tunes[which], buffer = t.id >= 0 ? T.buffers[t.id] : null;
    if (!buffer) return false;
    var source = a.createBufferSource(), gain = a.createGain();
    source.buffer = buffer;
    source.loop = true;
    source.loopStart = 0;
    source.loopEnd = Math.min(t.loop > 0 ? t.loop : buffer.duration, buffer.duration);
    source.connect(gain);
    gain.connect(T.tuneGain);
    source.start(when);
    tune.source = source;
    tune.gain = gain;
    tune.startedAt = when;
    tune.which = which;
    return true;
  }
  function stopTune(fade) {
    if (tune.source === null) return;
    var a = audio, now = a.currentTime;
    tune.gain.gain.setValueAtTime(tune.gain.gain.value, now);
    tune.gain.gain.linearRampToValueAtTime(0, now + fade);
    tune.source.stop(now + fade + 0.01);
    tune.source = null;
  }
  T.tunePlay = function (which) {
    tune.wanted = true;
    tune.which = which;
    var a = audioContext();
    if (a === null) return;
    stopTune(0.005);
    if (a.state !== 'running' || !startTune(which, a.currentTime)) {
      tune.pending = true;  // started once the sound is allowed and decoded
      return;
    }
    tune.pending = false;
  };
  T.tuneStop = function () {
    tune.wanted = false;
    tune.pending = false;
    if (audio !== null) stopTune(TuneFade);
  };
  T.tuneUse = function (which, lineMs) {
    if (tune.source === null || audio === null) {
      tune.which = which;
      return;
    }
    if (which === tune.which) return;
    var a = audio, line = lineMs / 1000;
    var earliest = a.currentTime + SwitchFade;
    var at = tune.startedAt + Math.ceil((earliest - tune.startedAt) / line) * line;
    var old = tune;
    old.gain.gain.setValueAtTime(1, at - SwitchFade);
    old.gain.gain.linearRampToValueAtTime(0, at);
    old.source.stop(at + 0.01);
    tune = {playing: true, which: which, wanted: true, source: null, gain: null, startedAt: at};
    startTune(which, at);
  };
  // What plays, for the browser's checks.
  T.tuneState = function () {
    return {context: audio ? audio.state : 'none', playing: tune.source !== null, which: tune.which,
            pending: !!tune.pending, loopEnd: tune.source ? tune.source.loopEnd : 0};
  };
  // A tune asked for before the sound was allowed, or before it was decoded.
  setInterval(function () {
    if (!tune.pending || audio === null || audio.state !== 'running') return;
    if (startTune(tune.which, audio.currentTime)) tune.pending = false;
  }, 100);

  // EDIT GAME's file: the browser's own picker. It opens only in answer to a
  // key or a click, so when the key that asked is too long ago a button on
  // the page asks for the click.
  T.pickFile = function () {
    return new Promise(function (resolve) {
      var input = document.createElement('input');
      input.type = 'file';
      input.accept = '.msn';
      var done = false;
      function finish(file) {
        if (done) return;
        done = true;
        if (button) button.remove();
        if (!file) return resolve('');
        file.arrayBuffer().then(function (bytes) {
          var folder = '/tmp/picked';
          try { FS.mkdirTree(folder); } catch (e) {}
          var path = folder + '/' + file.name.replace(/\//g, '_');
          FS.writeFile(path, new Uint8Array(bytes));
          resolve(path);
        }, function () { resolve(''); });
      }
      input.addEventListener('change', function () { finish(input.files[0]); });
      input.addEventListener('cancel', function () { finish(null); });
      var button = null;
      var active = navigator.userActivation ? navigator.userActivation.isActive : true;
      if (active) {
        input.click();
        return;
      }
      button = document.createElement('button');
      button.id = 'pick';
      button.textContent = 'Choose a mission file (.msn)';
      button.onclick = function () { input.click(); };
      var cancel = function (e) {
        if (e.code !== 'Escape' && e.code !== 'KeyX') return;
        window.removeEventListener('keydown', cancel, true);
        finish(null);
      };
      window.addEventListener('keydown', cancel, true);
      document.body.appendChild(button);
    });
  };

  return T;
})();
